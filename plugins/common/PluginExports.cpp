#include "plugins/common/PluginExports.h"

#include "hostfw/CTabParamDB.h"
#include "hostfw/CVApp.h"
#include "hostfw/CVPartDlg.h"
#include "hostfw/HostMessages.h"
#include "hostfw/VCmdData.h"
#include "plugins/common/PluginTable.h"

#include <exception>

namespace plugcommon {

namespace {

void ReportFailure(const PluginTable& table, const char* what, const char* detail)
{
    try {
        HostMessageBox(std::string(what) + (detail ? std::string("\n") + detail : std::string()),
                       table.caption, kMbOk | kMbIconHand);
    } catch (...) {
        // Nothing more can be said; the export still answers its failure value.
    }
}

TPeldaHelpContext HelpEntry(const PluginTable& table, int index)
{
    TPeldaHelpContext context;
    context.kind = 3;
    context.module = table.helpModule;
    context.index = index;
    context.topic = index == 0 ? table.helpTopicMain : table.helpTopic;
    return context;
}

} // namespace

CVSvyPartPrg* CreatePartPrgExport(const PluginEntry& entry, CVPartDocument* document) noexcept
{
    try {
        return entry.createProgram(document);
    } catch (const std::exception& e) {
        ReportFailure(entry.table, "パートプログラムを作成できません。", e.what());
    } catch (...) {
        ReportFailure(entry.table, "パートプログラムを作成できません。", nullptr);
    }
    return nullptr;
}

int WindowEditExport(const PluginEntry& entry, VCmdData* cmd) noexcept
{
    try {
        PartSystem* handle = GetCurrentPartSystem();
        if (!handle || !cmd)
            return 0;
        std::unique_ptr<CTabParamDB> db = entry.openDatabase(handle);
        if (!db || !db->IsOpen())
            return 0;
        // Owned here until the dialog stands: a failed Create deletes dialog and database.
        std::unique_ptr<CVPartDlg> dialog(
            entry.createDialog(cmd, std::move(db), PeldaGetMainWnd(), entry.table.dialogMode));
        if (!dialog)
            return 0;
        const int created = dialog->Create();
        if (!created)
            return 0;
        cmd->GetHelpManager().Push(HelpEntry(entry.table, 0));
        dialog.release();   // modeless: the host closes and deletes it
        return created;
    } catch (const std::exception& e) {
        ReportFailure(entry.table, "編集画面を開けません。", e.what());
    } catch (...) {
        ReportFailure(entry.table, "編集画面を開けません。", nullptr);
    }
    return 0;
}

TPeldaHelpContext* HelpContextExport(const PluginEntry& entry, int index, TPeldaHelpContext* out) noexcept
{
    if (!out || index < 0 || index >= kHelpContextCount)
        return out;
    try {
        *out = HelpEntry(entry.table, index);
    } catch (...) {
        // Out of memory while copying two short texts: leave out as it was.
    }
    return out;
}

} // namespace plugcommon

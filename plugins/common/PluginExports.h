#pragma once

#include "hostfw/CVSvyPartPrg.h"
#include "hostfw/HostTypes.h"
#include "hostfw/TPeldaHelpContext.h"

#include <memory>
#include <utility>

class CTabParamDB;
class CVPartDlg;
class CVPartDocument;
class PartSystem;
class QWidget;
class VCmdData;

namespace plugcommon {

struct PluginTable;

// Everything the four exports need from a plug-in.
struct PluginEntry {
    const PluginTable& table;
    // Makes the part-program object (new Mod04827(document)...).
    CVSvyPartPrg* (*createProgram)(CVPartDocument* document);
    // Opens the plug-in's parameter database on a part-system handle.
    std::unique_ptr<CTabParamDB> (*openDatabase)(PartSystem* handle);
    // Builds the table dialog; it owns the database from then on.
    CVPartDlg* (*createDialog)(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent,
                               int mode);
};

// The entry of a plug-in whose part program, parameter database and table dialog are
// made as Program(document), Database(handle) and Dialog(cmd, db, parent, mode).
template <class Program, class Database, class Dialog>
PluginEntry MakePluginEntry(const PluginTable& table)
{
    return PluginEntry{
        table,
        [](CVPartDocument* document) -> CVSvyPartPrg* { return new Program(document); },
        [](PartSystem* handle) -> std::unique_ptr<CTabParamDB> { return std::make_unique<Database>(handle); },
        [](VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent, int mode) -> CVPartDlg* {
            return new Dialog(cmd, std::move(db), parent, mode);
        }};
}

// The bodies of the four exports. None lets an exception out: each answers its failure
// value (null, 0, out unchanged) after a message.
CVSvyPartPrg* CreatePartPrgExport(const PluginEntry& entry, CVPartDocument* document) noexcept;
int WindowEditExport(const PluginEntry& entry, VCmdData* cmd) noexcept;
// Index 0 or 1 fills out; any other index leaves it unchanged. Answers out.
TPeldaHelpContext* HelpContextExport(const PluginEntry& entry, int index,
                                     TPeldaHelpContext* out) noexcept;
inline constexpr int kHelpContextCount = 2;

} // namespace plugcommon

// Defines the plug-in's only exported symbols. ENTRY is a function answering the
// plug-in's const plugcommon::PluginEntry&. Use once, in the plug-in's own source (a
// static library's object would not be linked in, and its symbols are hidden).
#define PLUGCOMMON_DEFINE_EXPORTS(ENTRY)                                                          \
    extern "C" __attribute__((visibility("default"))) CVSvyPartPrg* CREATEPARTPRG(               \
        CVPartDocument* document)                                                                \
    {                                                                                            \
        return ::plugcommon::CreatePartPrgExport(ENTRY(), document);                             \
    }                                                                                            \
    extern "C" __attribute__((visibility("default"))) int WINDOWEDIT(VCmdData* cmd)              \
    {                                                                                            \
        return ::plugcommon::WindowEditExport(ENTRY(), cmd);                                     \
    }                                                                                            \
    extern "C" __attribute__((visibility("default"))) TPeldaHelpContext* ___PELDAHELP_CONTEXT(   \
        int index, TPeldaHelpContext* out)                                                       \
    {                                                                                            \
        return ::plugcommon::HelpContextExport(ENTRY(), index, out);                             \
    }                                                                                            \
    extern "C" __attribute__((visibility("default"))) int ___PELDAHELP_NUM()                     \
    {                                                                                            \
        return ::plugcommon::kHelpContextCount;                                                  \
    }

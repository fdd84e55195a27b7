// The test plug-in: a quality table of one header record and one element record,
// with the common stage runner, form path, CSV carrier and table dialog frame.

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CTabParamDB.h"
#include "hostfw/CVApp.h"
#include "hostfw/CmdMsgBox.h"
#include "hostfw/CPartDB.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartData.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/PeldaSysData.h"
#include "hostfw/SvyForm.h"
#include "hostfw/TabParamData.h"
#include "plugins/common/CalcContext.h"
#include "plugins/common/CellCodes.h"
#include "plugins/common/ComboListIni.h"
#include "plugins/common/Kjn_Send.h"
#include "plugins/common/PartProgram.h"
#include "plugins/common/PluginExports.h"
#include "plugins/common/PluginTable.h"
#include "plugins/common/TableDialogFrame.h"
#include "plugins/common/XSvyPartVSheetBase.h"

#include <array>
#include <memory>

#if defined(TESTPLUGIN_VARIANT_A)
#define TESTPLUGIN_PROGRAM 9101
#define TESTPLUGIN_TAG "A"
#else
#define TESTPLUGIN_PROGRAM 9102
#define TESTPLUGIN_TAG "B"
#endif

namespace modtest {

const plugcommon::PluginTable kTable{
    TESTPLUGIN_PROGRAM,
    "MODTEST" TESTPLUGIN_TAG ".SO",
    "テスト評価表-メインヘルプ",
    "テスト評価表",
    33,
    32,
    "テスト評価表",
    "テスト評価表",
    "TESTCMB",
    "\\TESTCSV.INI",
    {"基準点測量", "測量成果", "基準点測量", "1", "基準点測量", "メタデータ", "なし"},
    "テスト評価表データ,csvﾌｧｲﾙ(",
    "TESTHYO.CSV",
    "テスト評価表CSVファイル出力が終了しました",
};

// Records: F1 texts (0 product name, 1 remark, 2 date), F03 (0 switch, 1 text).
constexpr const char* kVariantTag = TESTPLUGIN_TAG;

// Evaluation of the test table: code 1 when the product name is empty.
short Evaluate(const PartData& data, std::string& result)
{
    TabParamData tab(data);
    PartRecord f1;
    if (!tab.GetRec("F1", f1) || f1.Text(0).empty())
        return 1;
    result = "評価" + std::string(kVariantTag) + ":" + f1.Text(0);
    return 0;
}

std::string MessageOf(short code)
{
    return code == 1 ? "製品名がありません。" : "計算データの取得に失敗しました。";
}

class Cal : public plugcommon::CalcContext {
public:
    Cal(const PartData& data, short noCalc) : m_data(data)
    {
        if (noCalc)
            return;
        m_code = Evaluate(m_data, m_result);
        std::string programName;
        if (PartSystem* handle = GetCurrentPartSystem())
            PartDB_GetPrgName(handle, m_data.GetPrgNo(), programName);
        const std::string title = m_data.GetReportNoName(3) + " " + programName + " [" + kVariantTag + "]";
        if (CmdMsgBox* box = PeldaGetApp().GetCmdMsgBox()) {
            box->XCmdNameMessage(m_data.GetPartKey(), title, 1);
            if (m_code == 0)
                box->XCmdStdMessage(m_data.GetPartKey(), "処理が正常に行われました。", 0);
            else
                box->XCmdErrMessageBox(m_data.GetPartKey(), MessageOf(m_code), 0);
        }
    }
    short ResultCode() const override { return m_code; }
    const TabParamData& Data() const { return m_data; }
    const std::string& Result() const { return m_result; }

private:
    TabParamData m_data;
    short m_code = 0;
    std::string m_result;
};

class ModTest : public plugcommon::PartProgram {
public:
    explicit ModTest(CVPartDocument* document) : PartProgram(document, kTable) {}

protected:
    std::unique_ptr<plugcommon::CalcContext> MakeCal(const PartData& data, short noCalc) override
    {
        return std::make_unique<Cal>(data, noCalc);
    }
    void FillForm(SvyForm& form, plugcommon::CalcContext& context) override
    {
        const Cal& cal = static_cast<const Cal&>(context);
        PartRecord f1;
        cal.Data().GetRec("F1", f1);
        form.PutField(1, f1.Text(0), 0);
        form.PutField(2, f1.Text(1), 0);
        form.PutField(3, cal.Result(), 0);
        form.PutField(4, std::string("版") + kVariantTag, 0);
    }
};

class Kjn_Send : public plugcommon::Kjn_Send {
public:
    explicit Kjn_Send(const PartData& data) : plugcommon::Kjn_Send(kTable), m_data(data) {}

    bool RunEvaluation() override
    {
        SetState(Evaluate(m_data, m_result));
        return GetState() == 0;
    }
    int WriteCsv(plugcommon::CsvWriter& out) override
    {
        PartRecord f1;
        m_data.GetRec("F1", f1);
        if (!WriteHeader(out, f1.Text(0), f1.Text(2), f1.Text(1)))
            return 0;
        static const char* kCodes[15] = {"001", "002", "005", "003", "004", "006", "007", "009",
                                         "008", "010", "011", "012", "013", "014", "015"};
        for (int n = 1; n <= 15; ++n) {
            const bool length = n == 7 || n == 8;
            const std::array<std::string, 7> values{
                "製品仕様書に従った適合性評価を行った。", kCodes[n - 1], f1.Text(1),
                length ? "centimeter" : n == 9 ? "" : "percent",
                length ? "長さ" : n == 9 ? "" : "百分率", "全数検査", n == 7 ? m_result : f1.Text(1)};
            if (!WriteQualityElement(out, n, values))
                return 0;
        }
        return 1;
    }
    std::string GetStateMessage() const override
    {
        if (GetState() == 1)
            return MessageOf(1);
        return plugcommon::Kjn_Send::GetStateMessage();
    }

private:
    TabParamData m_data;
    std::string m_result;
};

// The test sheet: text items of page 4 lock while the switch of field 0 is automatic;
// list cells of page 2 read "TestCmb.ini".
class XSvyPartVSheet : public plugcommon::XSvyPartVSheetBase {
public:
    bool IsCellLocked(int, DWORD code) override
    {
        if (GetPageType() != 4 || code != plugcommon::TextCellCode(0) || !GetPartData())
            return false;
        PartRecord f03;
        if (!GetPartData()->GetRecord("F03", 0, f03))
            return true;   // never stored: automatic
        return f03.Long(0) == 0;
    }
    DWORD FillComboList(DWORD code) override
    {
        if (GetPageType() != 2 || plugcommon::TextItemOf(code) < 0)
            return code;
        const std::string key = "項目" + std::to_string(plugcommon::TextItemOf(code));
        plugcommon::FillListFromComboIni(plugcommon::ComboIniPath("TestCmb.ini"), kTable.listSection,
                                         GetGrid()->GetDropDownListBox(), key);
        return 0;
    }

protected:
    void OnGridSelListItem(GridDispInfo& info, const GridCellInfo& cell) override
    {
        XSvyPartVSheetBase::OnGridSelListItem(info, cell);
        if (GetPageType() == 4 && cell.code == plugcommon::SwitchCellCode(0))
            RedrawGrid();
        if (GetPageType() != 2 || plugcommon::TextItemOf(cell.code) < 0)
            return;
        GridListBox* list = GetGrid()->GetDropDownListBox();
        if (list->GetCurSel() >= 0)
            SetPartField(RowToRec(cell.row), cell.code, list->GetText(list->GetCurSel()));
    }
};

class CPartDlg : public plugcommon::TableDialogFrame {
public:
    CPartDlg(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent, int mode)
        : TableDialogFrame(kTable, cmd, std::move(db), parent, mode, 0)
    {
        SetHelpIndex(1);
    }

    BOOL OnInitDialog() override
    {
        if (!TableDialogFrame::OnInitDialog())
            return 0;
        struct Sheet {
            int control;
            short page;
            const char* file;
            const char* record;
        };
        static const Sheet kSheets[] = {{9002, 0, "testplugin_0.vst", "F1"},
                                        {9004, 2, "testplugin_2.vst", "F01"},
                                        {9006, 4, "testplugin_4.vst", "F03"}};
        for (std::size_t i = 0; i < std::size(kSheets); ++i) {
            m_sheets[i].SetPageType(kSheets[i].page);
            if (!m_sheets[i].LoadTemplate(kSheets[i].file)) {
                HostMessageBox(m_sheets[i].LastError(), kTable.caption, kMbOk | kMbIconHand);
                return 0;
            }
            m_sheets[i].Init(GetCmdData(), &GetPartData(), kSheets[i].page);
            m_sheets[i].AdjustWindowSize(3);
            PlaceSheet(kSheets[i].control, m_sheets[i], i == 0 ? Area::Header : Area::Page);
        }
        for (const char* label : {"完全", "位置"})
            AddTab(label);
        SelectTab(0);
        return 1;
    }

protected:
    void OnTabSelChange(int index) override
    {
        m_sheets[1].setVisible(index == 0);
        m_sheets[2].setVisible(index == 1);
    }
    void RunCsvCommand(const PartData& copy) override
    {
        Kjn_Send carrier(copy);
        std::string folder;
        PeldaIni::GetBinderTempPath(folder);
        PeldaIni::CreateDir(folder);
        carrier.SetOutputPath(JoinHostPath(folder, kTable.csvFileName));
        if (carrier.Send())
            HostMessageBox(kTable.csvDoneMessage, kTable.caption, kMbOk | kMbIconExclamation);
        else if (const std::string text = carrier.GetStateMessage(); !text.empty())
            HostMessageBox(text, kTable.caption, kMbOk | kMbIconExclamation);
    }

private:
    XSvyPartVSheet m_sheets[3];
};

CVSvyPartPrg* CreateProgram(CVPartDocument* document)
{
    return new ModTest(document);
}

std::unique_ptr<CTabParamDB> OpenDatabase(PartSystem* handle)
{
    return std::make_unique<CTabParamDB>(handle, TESTPLUGIN_PROGRAM);
}

CVPartDlg* CreateDialog(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent, int mode)
{
    return new CPartDlg(cmd, std::move(db), parent, mode);
}

const plugcommon::PluginEntry& ThisPlugin()
{
    static const plugcommon::PluginEntry entry{kTable, &CreateProgram, &OpenDatabase, &CreateDialog};
    return entry;
}

} // namespace modtest

PLUGCOMMON_DEFINE_EXPORTS(modtest::ThisPlugin)

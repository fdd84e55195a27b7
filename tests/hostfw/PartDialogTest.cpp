#include "HostTestSupport.h"

#include "hostfw/CTab00519DB.h"
#include "hostfw/CVApp.h"
#include "hostfw/CVPartDlg.h"
#include "hostfw/CVSheetPartList.h"
#include "hostfw/PartSystem.h"
#include "hostfw/SvySrch.h"
#include "hostfw/Tab00519Data.h"
#include "hostfw/VCmdData.h"

#include <QCoreApplication>
#include <QAction>
#include <QPointer>
#include <QToolBar>

namespace {

class PartDialogTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        std::string error;
        auto system = PartSystem::Open(Root() / "ps.db", true, error);
        ASSERT_TRUE(system) << error;
        for (DWORD address : {1u, 2u}) {
            Tab00519Data part(PartData(519, address));
            PartRecord f1 = part.NewRecord("F1");
            f1.SetText(0, "製品" + std::to_string(address));
            part.Put_F1(f1);
            ASSERT_TRUE(system->StorePart(part, error));
        }
        ASSERT_TRUE(system->StorePart(PartData(628, 10), error));
        ASSERT_TRUE(system->StorePart(PartData(631, 11), error));
        PeldaGetApp().SetCurPartSysNo(PeldaGetApp().AddPartSystem(std::move(system), "t"));
        WriteFile("p/list.vst", "kind list\ncol 厳密網\tR3\t0\t00E60000\tpart\n");
        WriteFile("p/head.vst", "kind plain\nrow 製品名\tF1\t0\t0FFF0D0C\ttext\n");
        PeldaGetApp().SetPluginDataDir(Root() / "p");
    }

    // A dialog with the header sheet and one part list.
    class Dialog : public CSvyPartDlg {
    public:
        Dialog(VCmdData* cmd)
            : CSvyPartDlg(cmd, std::make_unique<CTab00519DB>(GetCurrentPartSystem()), 26000, nullptr, 33, 0x301, 0)
        {
        }
        BOOL OnInitDialog() override
        {
            if (!CSvyPartDlg::OnInitDialog())
                return 0;
            header.LoadTemplate("head.vst");
            header.Init(GetCmdData(), &GetPartData(), 0);
            list.LoadTemplate("list.vst");
            list.Init(GetCmdData(), &GetPartData(), 10);
            return 1;
        }
        void DoDataExchange() override
        {
            DDX_VSheet(9002, header);
            DDX_VSheet(9008, list);
        }
        CSvyPartVSheet header;
        CVSheetPartList list{2};
    };
};

TEST_F(PartDialogTest, EditsSaveOnOkAndTheDialogGoesAway)
{
    VCmdData cmd(519, 1);
    QPointer<Dialog> dialog = new Dialog(&cmd);
    ASSERT_EQ(dialog->Create(), 1);
    EXPECT_EQ(PeldaGetApp().PartDialogs().size(), 1u);
    EXPECT_FALSE(dialog->IsChanged());
    EXPECT_EQ(dialog->header.DisplayText(0, 1), "製品1");
    ASSERT_TRUE(dialog->header.EditCellText(0, 1, "新しい製品"));
    EXPECT_TRUE(dialog->IsChanged());
    EXPECT_TRUE(dialog->list.AddPart(10, 0x00E60000));
    EXPECT_TRUE(dialog->list.AddPart(11, 0x00E60000));
    EXPECT_EQ(dialog->list.RowCount(), 3) << "two parts and the row that adds";
    EXPECT_TRUE(dialog->PressButton(CVPartDlg::kIdOk));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_TRUE(PeldaGetApp().PartDialogs().empty());

    Tab00519Data stored;
    ASSERT_TRUE(CTab00519DB(GetCurrentPartSystem()).Get(1, stored, 0));
    PartRecord f1;
    stored.Get_F1(f1);
    EXPECT_EQ(f1.Text(0), "新しい製品");
    EXPECT_EQ(stored.Get_R3Cnt(), 2);
}

TEST_F(PartDialogTest, PartsAddedInOnePassFillTheEmptyRowsLikeOneByOne)
{
    VCmdData cmd(519, 1);
    auto* dialog = new Dialog(&cmd);
    ASSERT_EQ(dialog->Create(), 1);
    constexpr DWORD kColumn = 0x00E60000;
    ASSERT_TRUE(dialog->list.AddPart(10, kColumn));
    ASSERT_TRUE(dialog->list.AddPart(11, kColumn));
    ASSERT_TRUE(dialog->list.AddPart(10, kColumn));
    ASSERT_TRUE(dialog->list.SetPartField(1, kColumn, "0"));   // a hole in the middle
    EXPECT_EQ(dialog->list.AddPartsInColumns({{11, kColumn}, {0, kColumn}, {10, kColumn}, {11, kColumn}}), 3)
        << "address 0 is refused";
    std::vector<std::string> texts;
    for (int rec = 0; rec < 5; ++rec) {
        std::string text;
        dialog->list.GetPartField(rec, kColumn, text);
        texts.push_back(text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"10", "11", "10", "10", "11"}));
    EXPECT_EQ(dialog->list.RowCount(), 6) << "five parts and the row that adds";
    PeldaGetApp().CloseAllPartDialogs();
}

TEST_F(PartDialogTest, ReadOnlyDialogNeverSavesAndNavigationLoadsTheNextPart)
{
    VCmdData cmd(519, 1);
    auto* dialog = new Dialog(&cmd);
    ASSERT_EQ(dialog->Create(), 1);
    ASSERT_TRUE(dialog->OnCommand(CVPartDlg::kCmdNextPart));
    EXPECT_EQ(dialog->GetPartData().GetAddress(), 2u);
    EXPECT_EQ(dialog->header.DisplayText(0, 1), "製品2");
    EXPECT_FALSE(dialog->OnCommand(CVPartDlg::kCmdNextPart)) << "no part after the last";
    dialog->SetReadOnly(true);
    dialog->header.EditCellText(0, 1, "変更");
    EXPECT_EQ(dialog->OnSavePart(), 0);
    Tab00519Data stored;
    ASSERT_TRUE(CTab00519DB(GetCurrentPartSystem()).Get(2, stored, 0));
    PartRecord f1;
    stored.Get_F1(f1);
    EXPECT_EQ(f1.Text(0), "製品2");
    PeldaGetApp().CloseAllPartDialogs();
}

// A dialog lays out its own command bar: the buttons in the order added, in groups.
TEST_F(PartDialogTest, TheCommandBarKeepsTheOrderAndGroupsItWasGiven)
{
    class Ordered : public Dialog {
    public:
        using Dialog::Dialog;
        void InitToolBar() override
        {
            for (const int id : {CVPartDlg::kCmdFirstPart, CVPartDlg::kCmdLastPart, CVPartDlg::kCmdPrevPart,
                                 CVPartDlg::kCmdNextPart})
                AddCmdButton(id);
            AddCmdSeparator();
            for (const int id : {CVPartDlg::kCmdCalcReg, CVPartDlg::kCmdRevert, CVPartDlg::kCmdPartInfo})
                AddCmdButton(id);
        }
    };
    VCmdData cmd(519, 1);
    auto* dialog = new Ordered(&cmd);
    ASSERT_EQ(dialog->Create(), 1);
    const auto* bar = dialog->findChild<QToolBar*>("commandBar");
    ASSERT_NE(bar, nullptr);
    QStringList shown;
    for (const QAction* action : bar->actions())
        shown << (action->isSeparator() ? QString("|") : action->text());
    EXPECT_EQ(shown.join(" ").toStdString(), "先頭のパート 最後のパート 前のパート 次のパート | 計算登録 元に戻す パート情報");
    PeldaGetApp().CloseAllPartDialogs();
}

TEST_F(PartDialogTest, NewPartGetsAnAddressWhenSaved)
{
    VCmdData cmd(519, 0);
    auto* dialog = new Dialog(&cmd);
    ASSERT_EQ(dialog->Create(), 1);
    EXPECT_TRUE(dialog->IsChanged());
    ASSERT_TRUE(dialog->OnSavePart());
    EXPECT_EQ(cmd.GetPartAddress(), 12u);
    PeldaGetApp().CloseAllPartDialogs();
}

TEST_F(PartDialogTest, AMissingPartRefusesToOpen)
{
    VCmdData cmd(519, 99);
    auto dialog = std::make_unique<Dialog>(&cmd);
    EXPECT_EQ(dialog->Create(), 0);
    EXPECT_TRUE(PeldaGetApp().PartDialogs().empty());
    ASSERT_FALSE(Messages().empty());
    EXPECT_NE(Messages().back().find("パートを読み込めません。"), std::string::npos);
}

TEST_F(PartDialogTest, PartSearchKeepsThePartsTheTestAdmits)
{
    const short programs[] = {628, 0};
    const auto found = SvySrchExtract(nullptr,
                                      [](DWORD, WORD program, const short* list) {
                                          return program == static_cast<WORD>(list[0]) ? 1 : 0;
                                      },
                                      programs, 4096, nullptr, nullptr);
    EXPECT_EQ(found, std::vector<DWORD>{10});
    EXPECT_EQ(SvySrchSelectList(nullptr, nullptr, nullptr, 2, nullptr, nullptr).size(), 2u) << "the limit";
}

TEST_F(PartDialogTest, PartSearchLeavesOutPartsSwitchedOff)
{
    std::string error;
    PartData off(628, 12);
    off.SetActive(false);
    ASSERT_TRUE(GetCurrentPartSystem()->StorePart(off, error)) << error;
    const short programs[] = {628, 0};
    const auto admitAll = [](DWORD, WORD, const short*) { return 1; };
    EXPECT_EQ(SvySrchExtract(nullptr, admitAll, programs, 4096, nullptr, nullptr), (std::vector<DWORD>{1, 2, 10, 11}));
    EXPECT_EQ(SvySrchSelectList(nullptr, admitAll, programs, 4096, nullptr, nullptr),
              (std::vector<DWORD>{1, 2, 10, 11}));
}

} // namespace

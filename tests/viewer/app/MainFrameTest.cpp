#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../render/ViewTestApp.h"
#include "platform/MemoryProfile.h"
#include "platform/ScriptedMessageBoxes.h"
#include "platform/SingleInstanceGuard.h"
#include "viewer/app/CAboutDlg.h"
#include "viewer/app/CMainFrame.h"
#include "viewer/app/CQuonEditorViewApp.h"
#include "viewer/app/RibbonBar.h"
#include "viewer/grouppane/CGroupView.h"
#include "viewer/render/CModelViewerView.h"
#include "viewer/render/LongWorkGuard.h"

namespace {

struct ButtonRow {
    std::string panel;
    std::string text;
    unsigned id;
};

// Every panel button and menu item of the ribbon, written out independently of the layout table.
const std::vector<ButtonRow> kExpectedButtons = {
    {"ファイル", "開く", 32772},          {"ファイル", "設定", 32774},
    {"表示方向", "全体表示(上)", 32776},  {"表示方向", "全体表示(下)", 32777},
    {"表示方向", "表示方向", 32780},      {"表示スイッチ", "CAD", 32782},
    {"表示スイッチ", "ﾊﾟｰﾄ", 32783},     {"表示スイッチ", "TIN", 32784},
    {"表示スイッチ", "TIN点", 32785},     {"面の表示", "単色", 32786},
    {"面の表示", "高低", 32787},          {"面の表示", "傾斜", 32788},
    {"面の表示", "ﾃｸｽﾁｬ", 32789},        {"点群表示", "高さ", 32804},
    {"点群表示", "カラー", 32805},        {"点群表示", "単色", 32806},
    {"点群表示", "強度", 32839},          {"点群表示", "グループ", 32840},
    {"点群表示", "色設定", 32841},        {"ツール", "補助表示", 32793},
    {"ツール", "深度", 32796},            {"ツール", "XYZ確認", 32838},
    {"ツール", "計測", 35210},            {"ツール", "断面確認", 35211},
    {"ツール", "情報", 32799},            {"ツール", "ｸﾞﾙｰﾌﾟ 一覧", 32831},
    // 編集
    {"ファイル", "エクスポート", 32837},  {"ファイル", "元に戻す", 32800},
    {"選択", "点群選択", 32842},          {"選択", "CAD選択", 32801},
    {"選択", "範囲削除", 32803},          {"選択", "グループ登録", 32835},
    {"TIN", "点群からTIN", 32820},        {"TIN", "CADからTIN", 32791},
    {"TIN", "面削除", 32817},             {"TIN", "頂点削除", 32818},
    {"TIN", "辺入替", 32819},             {"点群フィルタ", "グリッド", 32807},
    {"点群フィルタ", "グリッド(最低)", 32808}, {"点群フィルタ", "グリッド(最高)", 32809},
    {"点群フィルタ", "隣接要素", 32812},  {"点群フィルタ", "外れ値", 32813},
    {"ホスト連携", "CAD取得", 32829},     {"ホスト連携", "CAD更新", 32790},
    {"ホスト連携", "点群取得", 32830},    {"ホスト連携", "テクスチャ更新", 32792},
    {"ホスト連携", "TIN→CAD登録", 32798}, {"ホスト連携", "ウィンドウ配置", 35209},
};

const std::vector<ButtonRow> kExpectedMenuItems = {
    {"表示方向", "左", 32778},  {"表示方向", "右", 32779},   {"表示方向", "前面", 32780}, {"表示方向", "後面", 32781},
    {"補助表示", "用紙", 32793}, {"補助表示", "ﾒｯｼｭ", 32794}, {"補助表示", "軸", 32795},   {"補助表示", "方向", 32832},
    {"補助表示", "方角", 32833}, {"補助表示", "ｻｲｽﾞ", 32834},
};

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        ScriptedBoxes().Clear();
        m_appCommands.On(57664, [this] { ++m_aboutRuns; });
        m_frame = std::make_unique<CMainFrame>(&m_appCommands);
        ASSERT_TRUE(m_frame->OnCreate());
    }

    CommandMap m_appCommands;
    int m_aboutRuns = 0;
    std::unique_ptr<CMainFrame> m_frame;
};

TEST_F(MainFrameTest, RibbonHoldsEveryButtonWithTextIdPanelAndIcon)
{
    std::vector<ButtonRow> buttons;
    for (QToolButton* button : m_frame->Ribbon()->PanelButtons()) {
        buttons.push_back({button->parentWidget()->property("panelName").toString().toStdString(),
                           button->text().toStdString(), button->property("commandId").toUInt()});
        EXPECT_FALSE(button->icon().isNull()) << button->text().toStdString();
    }
    ASSERT_EQ(buttons.size(), kExpectedButtons.size());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].panel, kExpectedButtons[i].panel) << i;
        EXPECT_EQ(buttons[i].text, kExpectedButtons[i].text) << i;
        EXPECT_EQ(buttons[i].id, kExpectedButtons[i].id) << i;
    }
    std::vector<ButtonRow> items;
    for (QToolButton* button : m_frame->Ribbon()->PanelButtons()) {
        if (QMenu* menu = button->menu()) {
            for (QAction* action : menu->actions()) {
                items.push_back({button->text().toStdString(), action->text().toStdString(),
                                 action->property("commandId").toUInt()});
                // Toggles show check marks, which the style draws only without an icon.
                EXPECT_EQ(action->icon().isNull(), action->isCheckable()) << action->text().toStdString();
                EXPECT_EQ(action->isCheckable(), button->text() == "補助表示") << action->text().toStdString();
            }
        }
    }
    ASSERT_EQ(items.size(), kExpectedMenuItems.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].panel, kExpectedMenuItems[i].panel) << i;
        EXPECT_EQ(items[i].text, kExpectedMenuItems[i].text) << i;
        EXPECT_EQ(items[i].id, kExpectedMenuItems[i].id) << i;
    }
    EXPECT_EQ(m_frame->Ribbon()->AboutButton()->property("commandId").toUInt(), 57664u);
}

TEST_F(MainFrameTest, ButtonWithoutHandlerIsDisabledAndHandledOnesRoute)
{
    m_frame->UpdateCommandUi();
    // Without a view only the frame's own button, the group pane's, is enabled.
    for (QToolButton* button : m_frame->Ribbon()->PanelButtons()) {
        EXPECT_EQ(button->isEnabled(), button->property("commandId").toUInt() == 32831u) << button->text().toStdString();
    }
    EXPECT_TRUE(m_frame->Ribbon()->AboutButton()->isEnabled());
    m_frame->Ribbon()->AboutButton()->click();
    EXPECT_EQ(m_aboutRuns, 1);
    EXPECT_FALSE(m_frame->RouteCommand(32776));
}

TEST_F(MainFrameTest, ViewMapComesFirstThenFrameThenApplication)
{
    int viewRuns = 0;
    CommandMap viewCommands;
    viewCommands.On(57664, [&] { ++viewRuns; });
    viewCommands.On(32776, [&] { ++viewRuns; });
    CommandRouter router;
    router.SetChain({&viewCommands, &m_frame->Commands(), &m_appCommands});
    EXPECT_TRUE(router.Route(57664));
    EXPECT_EQ(viewRuns, 1);
    EXPECT_EQ(m_aboutRuns, 0);
    EXPECT_TRUE(router.QueryUi(32776).enabled);
    EXPECT_FALSE(router.QueryUi(32777).enabled);
    // The frame's look commands carry a radio mark on the current look.
    EXPECT_TRUE(router.QueryUi(210).checked);
    EXPECT_FALSE(router.QueryUi(211).checked);
}

TEST_F(MainFrameTest, ShortcutsSendTheirCommands)
{
    struct Row {
        const char* keys;
        unsigned id;
    };
    const Row expected[] = {{"Ctrl+N", 57600},        {"Ctrl+O", 57601},  {"Ctrl+S", 57603},    {"Ctrl+P", 57607},
                            {"Ctrl+Z", 57643},        {"Alt+Backspace", 57643}, {"Ctrl+X", 57635},
                            {"Shift+Del", 57635},     {"Ctrl+C", 57634},  {"Ctrl+Ins", 57634},  {"Ctrl+V", 57637},
                            {"Shift+Ins", 57637},     {"F6", 57680},      {"Shift+F6", 57681}};
    for (const Row& row : expected) {
        bool found = false;
        for (QAction* action : m_frame->actions()) {
            if (action->shortcut() == QKeySequence(QString::fromLatin1(row.keys))) {
                EXPECT_EQ(action->property("commandId").toUInt(), row.id) << row.keys;
                found = true;
            }
        }
        EXPECT_TRUE(found) << row.keys;
    }
    m_frame->UpdateCommandUi();
    for (QAction* action : m_frame->actions()) {
        if (action->property("commandId").toUInt() == 57643) {
            EXPECT_FALSE(action->isEnabled());   // undo: the view's, and there is no view
        }
        if (action->property("commandId").toUInt() == 57607) {
            EXPECT_TRUE(action->isEnabled());    // print: frame
        }
    }
}

TEST_F(MainFrameTest, ProgressAndAbortStayHiddenUntilWorkShowsProgress)
{
    EXPECT_TRUE(m_frame->ProgressBar()->isHidden());
    EXPECT_TRUE(m_frame->AbortButton()->isHidden());
    m_frame->UpdateProgress(0, 0, 1);
    EXPECT_FALSE(m_frame->ProgressBar()->isHidden());
    EXPECT_FALSE(m_frame->AbortButton()->isHidden());
    // A maximum of 0 must not turn the bar into a busy indicator.
    EXPECT_GT(m_frame->ProgressBar()->maximum(), 0);
    m_frame->EndProgress();
    EXPECT_TRUE(m_frame->ProgressBar()->isHidden());
    EXPECT_TRUE(m_frame->AbortButton()->isHidden());
}

TEST_F(MainFrameTest, AbortButtonAsksAndOnlyAYesStopsTheRunningWork)
{
    m_frame->UpdateProgress(100, 10, 1);
    ScriptedBoxes().QueueAnswer(tessara::IDNO);
    m_frame->AbortButton()->click();
    EXPECT_EQ(m_frame->PollAbort(), 0);
    ScriptedBoxes().QueueAnswer(tessara::IDYES);
    m_frame->AbortButton()->click();
    EXPECT_EQ(m_frame->PollAbort(), -2);
    const auto shown = ScriptedBoxes().ShownBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "処理を中止します。よろしいですか？");
    EXPECT_EQ(shown[0].caption, "ORVANE SurfLook(Free)");
    EXPECT_EQ(shown[0].flags, tessara::MB_YESNO);
    m_frame->EndProgress();
    EXPECT_EQ(m_frame->PollAbort(), 0);
}

TEST_F(MainFrameTest, WorkerProgressReachesTheUiThreadWithoutBlocking)
{
    std::thread worker([this] { m_frame->UpdateProgress(200, 50, 0); });
    worker.join();   // returned although the UI thread was not running events
    EXPECT_TRUE(m_frame->ProgressBar()->isHidden());
    ASSERT_TRUE(ProcessEventsUntil([this] { return !m_frame->ProgressBar()->isHidden(); }));
    EXPECT_EQ(m_frame->ProgressBar()->maximum(), 200);
    EXPECT_EQ(m_frame->ProgressBar()->value(), 50);
    EXPECT_TRUE(m_frame->AbortButton()->isHidden());
    std::thread ender([this] { m_frame->EndProgress(); });
    ender.join();
    EXPECT_TRUE(ProcessEventsUntil([this] { return m_frame->ProgressBar()->isHidden(); }));
}

class MainFrameCloseTest : public MainFrameTest {
protected:
    void SetUp() override
    {
        MainFrameTest::SetUp();
        m_frame->SetView(new CModelViewerView(m_frame.get()));
        m_frame->show();
    }
};

TEST_F(MainFrameCloseTest, CloseIsRefusedWhileSaving)
{
    {
        LongWorkGuard saving(LongWorkGuard::Kind::Saving);
        EXPECT_FALSE(m_frame->close());
    }
    const auto shown = ScriptedBoxes().ShownBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "ファイル保存中のため終了できません。");
    EXPECT_EQ(shown[0].flags, tessara::MB_ICONHAND);
    EXPECT_TRUE(m_frame->isVisible());
}

TEST_F(MainFrameCloseTest, CloseIsRefusedWhileALoadRuns)
{
    {
        LongWorkGuard loading(LongWorkGuard::Kind::Other);
        EXPECT_FALSE(m_frame->close());
    }
    const auto shown = ScriptedBoxes().ShownBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "データの適正処理を行っています\nしばらく待って処理を実行してください。");
    EXPECT_EQ(shown[0].flags, tessara::MB_ICONWARNING);
}

TEST_F(MainFrameCloseTest, CloseAsksAndNoKeepsTheWindow)
{
    ScriptedBoxes().QueueAnswer(tessara::IDNO);
    EXPECT_FALSE(m_frame->close());
    ScriptedBoxes().QueueAnswer(tessara::IDYES);
    EXPECT_TRUE(m_frame->close());
    const auto shown = ScriptedBoxes().ShownBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "アプリケーションを終了してよろしいですか？");
    EXPECT_EQ(shown[0].flags, tessara::MB_YESNO | tessara::MB_ICONQUESTION);
}

TEST_F(MainFrameTest, CloseWithoutAViewClosesWithoutAsking)
{
    m_frame->show();
    EXPECT_TRUE(m_frame->close());
    EXPECT_EQ(ScriptedBoxes().Count(), 0u);
}

TEST_F(MainFrameTest, GroupPaneDocksLeftOrRightOnly)
{
    QDockWidget* pane = m_frame->GroupPane();
    EXPECT_EQ(pane->windowTitle().toStdString(), "グループ一覧");
    EXPECT_EQ(pane->allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    EXPECT_EQ(m_frame->dockWidgetArea(pane), Qt::LeftDockWidgetArea);
}

TEST_F(MainFrameTest, GroupPaneHoldsTheTreeAndItsButtonShowsItAgain)
{
    QDockWidget* pane = m_frame->GroupPane();
    ASSERT_NE(m_frame->GroupView(), nullptr);
    EXPECT_EQ(pane->widget(), m_frame->GroupView());
    ASSERT_EQ(m_frame->GroupView()->Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(m_frame->GroupView()->Tree()->topLevelItem(0)->text(0).toStdString(), "3Dデータ");
    m_frame->show();
    ASSERT_TRUE(ProcessEventsUntil([&] { return pane->isVisible(); }));
    pane->close();
    EXPECT_FALSE(pane->isVisible());
    EXPECT_TRUE(m_frame->RouteCommand(32831));
    EXPECT_TRUE(pane->isVisible());
    // Without a view the pane's commands are handled and do nothing.
    EXPECT_TRUE(m_frame->RouteCommand(35009));
    EXPECT_TRUE(m_frame->RouteCommand(35007));
    m_frame->hide();
}

TEST_F(MainFrameTest, LookOutsideTheKnownIdsIsWrittenBackUnchanged)
{
    tessara::IProfile& profile = *tessara::AppProfile();
    profile.WriteProfileInt("Workspace", "ApplicationLook", 300);
    CMainFrame frame(&m_appCommands);
    ASSERT_TRUE(frame.OnCreate());
    EXPECT_EQ(frame.LookId(), 300u);
    EXPECT_EQ(profile.GetProfileInt("Workspace", "ApplicationLook", 0), 300);
}

TEST_F(MainFrameTest, AboutBoxNamesTheLinkedLibrariesAndWritesTheStartupChoiceOnOk)
{
    const QString licences = CAboutDlg::LicenceText();
    for (const char* library : {"Qt", "OpenCV", "CGAL", "nanoflann", "pugixml", "FreeType", "Fontconfig", "Mesa"}) {
        EXPECT_TRUE(licences.contains(library)) << library;
    }
    tessara::IProfile& profile = *tessara::AppProfile();
    {
        CAboutDlg dialog;
        EXPECT_TRUE(dialog.StartupCheck()->isChecked());   // no value: checked
        dialog.StartupCheck()->setChecked(false);
        dialog.reject();                                    // Esc keeps the value
    }
    EXPECT_EQ(profile.GetProfileInt("SectionGlView", "psKeyLicenseView", -1), -1);
    {
        CAboutDlg dialog;
        dialog.LicenceRadio()->setChecked(true);
        EXPECT_TRUE(dialog.AgreementEdit()->isHidden());
        EXPECT_FALSE(dialog.LicenceEdit()->isHidden());
        EXPECT_FALSE(dialog.AgreementEdit()->toPlainText().isEmpty());
        dialog.StartupCheck()->setChecked(false);
        dialog.accept();
    }
    EXPECT_EQ(profile.GetProfileInt("SectionGlView", "psKeyLicenseView", -1), 0);
}

TEST(SingleInstanceTest, SecondCopyShowsItsMessageAndEnds)
{
    EnsureViewTestApp();
    ScriptedBoxes().Clear();
    tessara::SingleInstanceGuard first(tessara::SingleInstanceGuard::kViewerName);
    ASSERT_TRUE(first.Held());
    std::unique_ptr<tessara::SingleInstanceGuard> second;
    EXPECT_FALSE(CQuonEditorViewApp::AcquireSingleInstance(second));
    EXPECT_EQ(second, nullptr);
    const auto shown = ScriptedBoxes().ShownBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "SurfLook(Free) は既に起動しています。");
    EXPECT_EQ(shown[0].caption, "ORVANE SurfLook(Free)");
}

}  // namespace

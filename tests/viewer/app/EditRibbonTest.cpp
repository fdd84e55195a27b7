// The ribbon as a user meets it: every button of both categories pressed with the
// mouse where it is drawn (through a collapsed panel's pop-up when the window is
// narrow), every command of the view within reach of a button, menu item or key,
// and the editing commands end to end: point selection by polygon clicks, Delete
// and Ctrl+Z, TIN from points, the five point filters. With TESSARA_SCREENSHOT_DIR
// set, the 編集 tab and the TIN made by the ribbon's clicks are kept there.
#include "../commands/CommandViewFixture.h"
#include "ModelText.h"
#include "tests/support/WindowFocus.h"

#include "outside/CModelDataMng.h"
#include "viewer/app/CMainFrame.h"
#include "viewer/app/RibbonBar.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/Deletion.h"
#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/commands/PointSampling.h"
#include "platform/Files.h"
#include "viewer/dialogs/CInOutXYZVurDlg.h"
#include "viewer/dialogs/DialogHooks.h"
#include "viewer/dialogs/ExportFileDlg.h"
#include "viewer/dialogs/MakeTinDlg.h"
#include "viewer/dialogs/VurTinToElmDlg.h"
#include "viewer/dialogs/VurGridDlg.h"
#include "viewer/dialogs/VurOutRemoveDlg.h"
#include "viewer/dialogs/VurRadiusDlg.h"
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/HostClientTexts.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/files/SceneFrame.h"
#include "viewer/render/ViewConstants.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdlib>
#include <mutex>
#include <numeric>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kEditPrompt = "点群の編集を行います。（Ctrl＋：解除選択  Shift＋:追加選択）";

std::string SlopePoints()
{
    return SlopePointsText();
}

class EditRibbonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_boxes = InstallCommandTestServices(m_previousBoxes);
        m_frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(m_frame->OnCreate());
        CMainFrame::SetMainWindow(m_frame.get());
        m_view = new TestView;
        m_view->Create();
        m_boxes->lockHeld = [view = m_view] { return view->ViewMutex().HeldByThisThread(); };
        m_frame->SetView(m_view);
        // As the application does: the dialogs the lower rooms open through hooks.
        InstallDialogHooks([] { return static_cast<COpenGLBaseView*>(GetActiveDocumentView()); });
        m_frame->resize(1280, 800);
        m_frame->show();
        ASSERT_TRUE(ProcessEventsUntil([&] { return m_view->sceneFrames > 0 && m_view->ClientWidth() > 0; }));
    }
    void TearDown() override
    {
        m_dialogs.reset();
        RemoveDialogHooks();
        CMainFrame::SetMainWindow(nullptr);
        m_frame.reset();
        RemoveCommandTestServices(m_previousBoxes);
    }

    RibbonBar& Ribbon() { return *m_frame->Ribbon(); }
    CModelDataMng& Store() { return m_view->ModelStore(); }

    // A fresh scene of make-model text, seen from above, no undo, no selection.
    void Load(const std::string& scene)
    {
        {
            std::lock_guard lock(m_view->ViewMutex());
            Store().ClearGroups();
            ModelViewState state;
            std::string error;
            ASSERT_TRUE(ModelText::Read(scene, Store(), state, error)) << error;
            for (int i = 0; i < Store().GetGroupCount(); ++i)
                Store().GetGroup(i)->CreateGrid();
        }
        m_view->ClearUndoFiles(0);
        m_view->ClearUndoFiles(1);
        m_view->BuffersState().pickBuckets.clear();
        m_view->InvalidateAllBuffers();
        EXPECT_TRUE(m_frame->RouteCommand(cmd::kShowUp));
        Frame();
        m_boxes->Clear();
        m_dialogs.reset();
        m_dialogs = std::make_unique<tessara::ScopedDialogScript>();
    }
    template <class Dlg>
    void Answer(std::function<int(typename Dlg::Values&)> answer)
    {
        AnswerUnlocked<Dlg>(**m_dialogs, *m_view, std::move(answer));
    }
    QImage Frame() { return NextFrame(*m_view); }
    QPoint At(double x, double y, double z) { return WhereShown(*m_view, x, y, z); }
    std::vector<int> PointCounts() { return GroupPointCounts(Store()); }
    std::vector<int> TriangleCounts() { return GroupTriangleCounts(Store()); }
    std::size_t SelectedPoints()
    {
        std::size_t n = 0;
        for (const auto& bucket : m_view->BuffersState().pickBuckets)
            n += bucket.points.size();
        return n;
    }

    QToolButton* Button(unsigned id)
    {
        for (QToolButton* button : Ribbon().PanelButtons())
            if (button->property("commandId").toUInt() == id && button->menu() == nullptr)
                return button;
        ADD_FAILURE() << "no button for " << id;
        return nullptr;
    }
    int CategoryOf(const QToolButton* button)
    {
        const RibbonPanel* panel = Ribbon().PanelOf(button);
        for (int c = 0; c < Ribbon().Tabs()->count(); ++c)
            for (const RibbonPanel* p : Ribbon().PanelsOf(c))
                if (p == panel)
                    return c;
        return -1;
    }
    // Brings a button on screen as a user does: its tab, then its collapsed
    // panel's pop-up when the panel is collapsed.
    void Reach(QToolButton* button)
    {
        const int category = CategoryOf(button);
        ASSERT_GE(category, 0);
        QTabBar* tabs = Ribbon().Tabs();
        if (tabs->currentIndex() != category) {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(category).center());
            ASSERT_TRUE(ProcessEventsUntil([&] { return Ribbon().Pages()->currentIndex() == category; }));
        }
        RibbonPanel* panel = Ribbon().PanelOf(button);
        if (panel->Collapsed()) {
            QToolButton* opener = panel->CollapsedButton();
            QTest::mouseClick(opener, Qt::LeftButton, {}, opener->rect().center());
            ASSERT_TRUE(ProcessEventsUntil([&] { return panel->Popup()->isVisible(); }));
        }
        ASSERT_TRUE(ProcessEventsUntil([&] { return button->isVisible(); }));
    }
    // A mouse click on a button where it is drawn.
    void Press(unsigned id)
    {
        QToolButton* button = Button(id);
        ASSERT_NE(button, nullptr);
        Reach(button);
        ASSERT_TRUE(button->isEnabled()) << button->text().toStdString();
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QCoreApplication::processEvents();
    }
    // Opens a menu button with the mouse and clicks one of its items where it is drawn.
    void Choose(QToolButton* button, QAction* item)
    {
        Reach(button);
        bool chosen = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr || menu != button->menu())
                return;
            poll.stop();
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            chosen = true;
        });
        poll.start();
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        EXPECT_TRUE(ProcessEventsUntil([&] { return chosen; }));
        poll.stop();
    }
    void ClickView(QPoint p) { QTest::mouseClick(m_view, Qt::LeftButton, {}, p); }
    // The pointer moved over the view, no button held. Sent to the view itself: moving
    // the display's own pointer would reach whatever window lies there, another
    // program's too.
    void MoveOverView(QPoint p)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), m_view->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(m_view, &move);
    }
    // What a double click delivers: a click, then a second press followed by the
    // double-click event, then the release.
    void DoubleClickView(QPoint p)
    {
        ClickView(p);
        QTest::mousePress(m_view, Qt::LeftButton, {}, p);
        QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(p), m_view->mapToGlobal(QPointF(p)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_view, &twice);
        QTest::mouseRelease(m_view, Qt::LeftButton, {}, p);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(m_view, key, modifiers); }
    // The frame's keys (its shortcuts) need the frame to be the active window, the view
    // holding the focus.
    bool Activate() { return TakeFocus(*m_frame, m_view); }

    std::unique_ptr<CMainFrame> m_frame;
    TestView* m_view = nullptr;  // the frame's
    std::shared_ptr<LockCheckingBoxes> m_boxes;
    std::shared_ptr<tessara::MessageBoxService> m_previousBoxes;
    std::unique_ptr<tessara::ScopedDialogScript> m_dialogs;
};

TEST_F(EditRibbonTest, EveryButtonOfBothTabsClickedWhereItIsDrawnSendsAHandledCommand)
{
    // The clicks are recorded instead of run: this test is about reaching commands.
    QObject::disconnect(&Ribbon(), &RibbonBar::CommandTriggered, m_frame.get(), nullptr);
    std::vector<unsigned> sent;
    QObject::connect(&Ribbon(), &RibbonBar::CommandTriggered, [&](unsigned id) { sent.push_back(id); });
    m_view->PushUndoSnapshot(0x01);  // 元に戻す is live with a snapshot
    m_frame->UpdateCommandUi();
    for (const int width : {1280, 800}) {
        SCOPED_TRACE(width);
        m_frame->resize(width, 700);
        QCoreApplication::processEvents();
        for (QToolButton* button : Ribbon().PanelButtons()) {
            const std::string text = button->text().toStdString();
            if (QMenu* menu = button->menu()) {
                for (QAction* item : menu->actions()) {
                    sent.clear();
                    Choose(button, item);
                    ASSERT_EQ(sent.size(), 1u) << text << " / " << item->text().toStdString();
                    EXPECT_EQ(sent[0], item->property("commandId").toUInt());
                    EXPECT_TRUE(m_frame->Router().Handled(sent[0])) << item->text().toStdString();
                }
                continue;
            }
            sent.clear();
            const unsigned id = button->property("commandId").toUInt();
            EXPECT_TRUE(m_frame->Router().Handled(id)) << text << " (" << id << ") has no handler";
            if (!m_frame->Router().QueryUi(id).enabled)
                continue;
            Reach(button);
            QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
            ASSERT_EQ(sent.size(), 1u) << text;
            EXPECT_EQ(sent[0], id) << text;
            if (RibbonPanel* panel = Ribbon().PanelOf(button)) {
                EXPECT_FALSE(panel->Popup()->isVisible()) << "the pop-up closes before the command runs";
            }
        }
    }
}

TEST_F(EditRibbonTest, EveryCommandOfTheViewHasAButtonMenuItemOrKey)
{
    std::set<unsigned> reachable;
    for (QToolButton* button : Ribbon().PanelButtons()) {
        reachable.insert(button->property("commandId").toUInt());
        if (QMenu* menu = button->menu())
            for (QAction* item : menu->actions())
                reachable.insert(item->property("commandId").toUInt());
    }
    reachable.insert(Ribbon().AboutButton()->property("commandId").toUInt());
    for (QAction* key : m_frame->actions())
        reachable.insert(key->property("commandId").toUInt());
    // Handlers that do nothing, and the two that only say they are not built.
    const std::set<unsigned> unreachable = {57600, 57603, 32771, 32773, 32802, 35208, 32814, 32821, 32822, 32836,
                                            32815, 32816};
    for (unsigned id : m_view->Commands().CommandIds()) {
        if (unreachable.count(id) != 0)
            continue;
        EXPECT_TRUE(reachable.count(id) != 0) << "command " << id << " has no button, menu item or key";
    }
    // Ctrl+Z and Alt+Backspace reach the view's undo.
    EXPECT_TRUE(m_frame->Router().Handled(57643));
    EXPECT_FALSE(m_frame->Router().QueryUi(57643).enabled) << "nothing to undo yet";
    m_view->PushUndoSnapshot(0x01);
    EXPECT_TRUE(m_frame->Router().QueryUi(57643).enabled);
}

TEST_F(EditRibbonTest, TooltipsSayWhatDepthAndInformationDo)
{
    const auto tip = [&](unsigned id) { return Button(id)->toolTip().toStdString(); };
    EXPECT_NE(tip(32796).find("裏側の点群"), std::string::npos) << tip(32796);
    EXPECT_NE(tip(32799).find("高さの範囲"), std::string::npos) << tip(32799);
    EXPECT_EQ(tip(32799).find("選んだ"), std::string::npos) << "情報 describes all data, not a chosen one";
}

TEST_F(EditRibbonTest, TheOverlayMenuChecksItsSixToggles)
{
    const unsigned toggles[] = {cmd::kSupportPaper, cmd::kSupportMesh, cmd::kSupportAxis,
                                cmd::kSupportDirXyz, cmd::kSupportDirNews, cmd::kSupportSize};
    QToolButton* overlays = nullptr;
    for (QToolButton* button : Ribbon().PanelButtons())
        if (button->menu() != nullptr && button->property("commandId").toUInt() == cmd::kSupportPaper)
            overlays = button;
    ASSERT_NE(overlays, nullptr);
    const QList<QAction*> items = overlays->menu()->actions();
    ASSERT_EQ(items.size(), 6);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(items[i]->text().toStdString());
        EXPECT_EQ(items[i]->property("commandId").toUInt(), toggles[i]);
        EXPECT_TRUE(items[i]->isCheckable());
        const bool was = items[i]->isChecked();
        EXPECT_EQ(was, m_frame->Router().QueryUi(toggles[i]).checked);
        // The mark is drawn: the item's picture changes with its state.
        const QRect place = overlays->menu()->actionGeometry(items[i]);
        const QImage before = overlays->menu()->grab(place).toImage();
        Choose(overlays, items[i]);
        EXPECT_NE(items[i]->isChecked(), was) << "the mark follows the toggle";
        EXPECT_NE(overlays->menu()->grab(place).toImage(), before) << "a check mark is drawn";
        Choose(overlays, items[i]);
        EXPECT_EQ(items[i]->isChecked(), was);
    }
}

TEST_F(EditRibbonTest, PolygonClicksSelectPointsDeleteRemovesThemAndCtrlZBringsThemBack)
{
    Load(SlopePoints());
    ASSERT_EQ(PointCounts(), (std::vector<int>{36, 25}));
    Press(cmd::kPointSelect);
    EXPECT_TRUE(Button(cmd::kPointSelect)->isChecked());
    EXPECT_EQ(m_view->LastStatusText(), kEditPrompt);
    // Around the 3 x 3 points of the west group's corner; the fourth corner is
    // taken back with Backspace and set again.
    ClickView(At(-0.5, -0.5, 0));
    ClickView(At(2.5, -0.5, 0));
    ClickView(At(2.5, 2.5, 0));
    ClickView(At(4.5, 4.5, 0));
    EXPECT_EQ(m_view->InputModelPoints().size(), 4u);
    MoveOverView(At(4.0, 4.0, 0));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(m_view->InputModelPoints().size(), 3u);
    ClickView(At(-0.5, 2.5, 0));
    EXPECT_EQ(SelectedPoints(), 0u) << "nothing is selected before the polygon is closed";
    Key(Qt::Key_Return);
    EXPECT_EQ(SelectedPoints(), 9u);
    EXPECT_TRUE(m_view->InputModelPoints().empty()) << "the polygon ends with the selection";

    m_boxes->QueueAnswer(tessara::IDYES);
    Key(Qt::Key_Delete);
    EXPECT_EQ(m_boxes->Count(), 1u);
    EXPECT_EQ(PointCounts(), (std::vector<int>{27, 25}));
    m_frame->UpdateCommandUi();
    EXPECT_TRUE(Button(cmd::kUndo)->isEnabled());

    // Ctrl+Z goes to the frame's keys.
    ASSERT_TRUE(Activate()) << "the frame never came on screen";
    QTest::keyClick(m_view, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(ProcessEventsUntil([&] { return PointCounts() == std::vector<int>{36, 25}; }));
    m_frame->UpdateCommandUi();
    EXPECT_FALSE(Button(cmd::kUndo)->isEnabled()) << "the one snapshot is used";

    // A double click closes the polygon too; Escape drops one; the button leaves the mode.
    m_view->BuffersState().pickBuckets.clear();
    ClickView(At(7.5, -0.5, 0));
    ClickView(At(12.5, -0.5, 0));
    ClickView(At(12.5, 0.5, 0));
    DoubleClickView(At(7.5, 0.5, 0));
    EXPECT_EQ(SelectedPoints(), 5u) << "the east group's first row";
    ClickView(At(-0.5, -0.5, 0));
    ClickView(At(12.5, -0.5, 0));
    Key(Qt::Key_Escape);
    EXPECT_TRUE(m_view->InputModelPoints().empty());
    Press(cmd::kPointSelect);
    EXPECT_FALSE(Button(cmd::kPointSelect)->isChecked());
    ClickView(At(-0.5, -0.5, 0));
    EXPECT_TRUE(m_view->InputModelPoints().empty()) << "out of the mode, clicks set no corners";
}

TEST_F(EditRibbonTest, PointSelectionAndTheToolModesExcludeEachOther)
{
    Load(SlopePoints());
    Press(cmd::kPointSelect);
    Press(cmd::kTinFaceDelete);
    EXPECT_EQ(m_view->ToolMode(), toolmode::kTinFaceDelete);
    EXPECT_FALSE(Button(cmd::kPointSelect)->isChecked());
    Press(cmd::kPointSelect);
    EXPECT_EQ(m_view->ToolMode(), toolmode::kNone);
    EXPECT_FALSE(Button(cmd::kTinFaceDelete)->isChecked());
    EXPECT_TRUE(Button(cmd::kPointSelect)->isChecked());
    Press(cmd::kCadSelect);
    EXPECT_EQ(m_view->ToolMode(), toolmode::kCadEdit);
    EXPECT_FALSE(Button(cmd::kPointSelect)->isChecked());
}

TEST_F(EditRibbonTest, TinFromPointsThroughTheRibbonDrawsTheTin)
{
    Load(SlopePoints());
    const QImage empty = Frame();
    Answer<MakeTinDlg>([](MakeTinDlg::Values&) { return tessara::IDOK; });
    Press(cmd::kMakeTin);
    EXPECT_EQ(TriangleCounts(), (std::vector<int>{50, 32}));
    Press(cmd::kPictureHighLow);
    EXPECT_EQ(m_view->Settings().tinPictureMode, 4);
    const QImage picture = Frame();
    if (const char* dir = std::getenv("TESSARA_SCREENSHOT_DIR"))
        picture.save(QString::fromUtf8(dir) + "/tin-from-ribbon.png");
    if (const char* dir = std::getenv("TESSARA_SCREENSHOT_DIR")) {
        // The whole window with the 編集 category on show, as a user sees it.
        QTest::mouseClick(Ribbon().Tabs(), Qt::LeftButton, {}, Ribbon().Tabs()->tabRect(1).center());
        ASSERT_TRUE(ProcessEventsUntil([&] { return Ribbon().Pages()->currentIndex() == 1; }));
        m_view->SetMainFrameStatusText(kEditPrompt);
        Frame();
        m_frame->grab().save(QString::fromUtf8(dir) + "/ribbon-edit.png");
    }
    const QPoint inside = At(2.5, 2.2, 1.25), gap = At(6.5, 2.2, 3.25);
    EXPECT_NE(picture.pixel(inside), empty.pixel(inside)) << "a face is drawn between the points";
    EXPECT_EQ(picture.pixel(gap), empty.pixel(gap)) << "no TIN between the groups";
}

TEST_F(EditRibbonTest, EachOfTheFivePointFiltersThinsTheCloud)
{
    struct Row {
        unsigned id;
        const char* text;
    };
    const Row rows[] = {{32807, "グリッド"}, {32808, "グリッド(最低)"}, {32809, "グリッド(最高)"},
                        {32812, "隣接要素"}, {32813, "外れ値"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Load(SlopePoints());
        EXPECT_EQ(Button(row.id)->text().toStdString(), row.text);
        Answer<VurGridDlg>([](VurGridDlg::Values& v) { v.cellM = {2.0, 2.0, 100.0}; return tessara::IDOK; });
        Answer<VurRadiusDlg>([](VurRadiusDlg::Values& v) { v.radiusM = 1.5; v.minimumPoints = 4; return tessara::IDOK; });
        Answer<VurOutRemoveDlg>([](VurOutRemoveDlg::Values& v) { v.neighbourCount = 8; v.standardDeviation = 0.1; return tessara::IDOK; });
        m_boxes->QueueAnswer(tessara::IDOK);
        m_boxes->QueueAnswer(tessara::IDOK);
        const std::vector<int> before = PointCounts();
        Press(row.id);
        const std::vector<int> after = PointCounts();
        ASSERT_EQ(after.size(), before.size());
        EXPECT_LT(std::accumulate(after.begin(), after.end(), 0), std::accumulate(before.begin(), before.end(), 0));
        EXPECT_GT(std::accumulate(after.begin(), after.end(), 0), 0);
        EXPECT_EQ((*m_dialogs)->Dialogs().size(), 1u);
    }
}

TEST_F(EditRibbonTest, CadTinFromFiguresWithElevationsThroughTheRibbon)
{
    // A square polyline with elevations around a spot height, and a line without.
    Load("figure 13\nfp 0 0 1\nfp 10 0 2\nfp 10 10 3\nfp 0 10 4\nfp 0 0 1\n"
         "figure 11\nfp 5 5 8\nfigure 12\nfp 20 0\nfp 30 0\n");
    ASSERT_EQ(Store().m_elmList.size(), 3u);
    m_view->Settings().tinPictureMode = 0;
    m_view->InvalidateAllBuffers();
    EXPECT_TRUE(m_frame->RouteCommand(cmd::kShowUp));
    const QImage before = Frame();
    Answer<MakeTinDlg>([](MakeTinDlg::Values&) { return tessara::IDOK; });
    Press(32791);
    EXPECT_EQ(Store().m_cadTin.GetTriangleCount(), 4);
    EXPECT_EQ(m_view->Settings().tinPictureMode, 1);
    const QImage after = Frame();
    const QPoint face = At(3.0, 5.0, 4.0);
    EXPECT_NE(after.pixel(face), before.pixel(face)) << "the CAD TIN's face is drawn";
    m_frame->UpdateCommandUi();
    EXPECT_TRUE(Button(cmd::kUndo)->isEnabled());
}

TEST_F(EditRibbonTest, ExportUnderATypedNewNameWritesTheShownPoints)
{
    Load(SlopePoints());
    const std::string folder = tessara::TempFolder() + "ribbon-export/";
    m_view->SetWorkFolder(folder);
    (*m_dialogs)->AcceptAs<CInOutXYZVurDlg>();
    (*m_dialogs)->Answer<ExportFileDlg>([](ExportFileDlg::Values& v) {
        v.fileName = "survey.xyz";
        return tessara::IDOK;
    });
    Press(cmd::kFileExport2);
    const std::string path = folder + "survey.xyz";
    std::vector<std::string> boxes;
    for (const auto& b : m_boxes->ShownBoxes())
        boxes.push_back(b.text);
    ASSERT_TRUE(tessara::FileExists(path)) << ::testing::PrintToString(boxes)
                                           << ::testing::PrintToString((*m_dialogs)->Dialogs());
    const std::optional<std::string> text = tessara::ReadWholeFile(path);
    ASSERT_TRUE(text.has_value());
    std::size_t lines = 0;
    for (char c : *text)
        lines += c == '\n' ? 1 : 0;
    EXPECT_EQ(lines, 61u) << "every point of both groups";
    tessara::DeleteFile(path);
}

// Without a host every exchange button ends as it says it does once the connect
// gives up (it tries for a few seconds: a starting host gets its pipe up meanwhile),
// and nothing is changed.
TEST_F(EditRibbonTest, WithoutAHostEachExchangeButtonEndsWithItsOwnAnswer)
{
    using namespace hosttexts;
    struct Row {
        unsigned id;
        std::vector<int> answers;
        std::vector<std::string> boxes;
    };
    const std::vector<Row> rows = {
        {32829, {tessara::IDYES}, {kAskGetCad, kNoAnswer}},
        {32790, {tessara::IDYES}, {kAskRefetchCad, kUpdateFailed}},
        {32830, {tessara::IDYES, tessara::IDYES}, {kAskPointCloudsAdd, kAskDuplicates}},
        {32792, {tessara::IDYES}, {kAskTexture, kUpdateFailed}},
        {32798, {}, {kRegisterNeedsHost}},
        {35209, {}, {}},
    };
    const QRect placed = m_frame->geometry();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        Load(SlopePoints());
        for (int answer : row.answers)
            m_boxes->QueueAnswer(answer);
        (*m_dialogs)->AcceptAs<VurTinToElmDlg>();
        Press(row.id);
        std::vector<std::string> boxes;
        for (const auto& b : m_boxes->ShownBoxes())
            boxes.push_back(b.text);
        EXPECT_EQ(boxes, row.boxes);
        EXPECT_FALSE(m_view->FilesState().hostExchangeRunning.load()) << "the exchange has ended";
        EXPECT_EQ(PointCounts(), (std::vector<int>{36, 25}));
    }
    EXPECT_EQ(m_frame->geometry(), placed) << "no reply, no move";
    EXPECT_EQ(m_view->Settings().tinPictureMode, 3) << "the texture update shows the texture picture even so";
}

} // namespace

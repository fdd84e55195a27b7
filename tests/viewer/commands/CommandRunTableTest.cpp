// The view's commands end to end: each row loads a make-model scene into a view
// inside the main frame, routes command ids through the frame's router, clicks
// and presses keys on the shown view, answers the scripted dialogs and boxes, and
// states the store counts, flags and status text it expects. With
// TESSARA_SCREENSHOT_DIR set, the coloured TIN is kept there as tin-from-points.png.
#include "CommandViewFixture.h"
#include "ModelText.h"

#include "outside/CModelDataMng.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "viewer/app/CMainFrame.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/buffers/ViewPickState.h"
#include "viewer/commands/CEditPCloudGroupDlg.h"
#include "viewer/commands/CrossSection.h"
#include "viewer/commands/Deletion.h"
#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/commands/Measurement.h"
#include "viewer/commands/PointSampling.h"
#include "viewer/dialogs/CColorSettingDlg.h"
#include "viewer/dialogs/CDeleteDlg.h"
#include "viewer/dialogs/CGlviewrVurDlg.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/MakeTinDlg.h"
#include "viewer/dialogs/VurGridDlg.h"
#include "viewer/dialogs/VurOutRemoveDlg.h"
#include "viewer/dialogs/VurRadiusDlg.h"
#include "viewer/dialogs/CNumericDoubleEdit.h"
#include "viewer/files/SceneFrame.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/render/ViewConstants.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRect>
#include <QPushButton>
#include <QRadioButton>

#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr unsigned kDeleteDialog = 32803;
constexpr unsigned kSampleGrid = 32807;
constexpr unsigned kSampleGridMinZ = 32808;
constexpr unsigned kSampleGridMaxZ = 32809;
constexpr unsigned kFilterRadius = 32812;
constexpr unsigned kFilterOutlier = 32813;
constexpr unsigned kRegisterAsGroup = 32835;
constexpr unsigned kToolInfo = 32799;
constexpr unsigned kNotImplemented1 = 32815;
constexpr unsigned kNotImplemented2 = 32816;
constexpr const char* kNotImplementedText = "【未実装】\nこの機能はリリース版までに実装予定です";
constexpr const char* kEditCadPrompt = "CAD図形の編集を行います。（Ctrl＋：解除選択  Shift＋:追加選択）";
constexpr const char* kHostFile = "make-hostfile";
constexpr const char* kTinMade = "処理完了（TIN生成）";
constexpr const char* kFacePrompt = "削除するTINの面をピックして下さい。";
constexpr const char* kVertexPrompt = "編集するTINの端点をクリックして下さい。";
constexpr const char* kEdgePrompt = "構成を変更するTINの線をピックして下さい。";

std::string SlopePoints()
{
    return SlopePointsText();
}

// One group whose TIN is a 3 x 3 grid of vertices on the same slope, each square
// split along its rising diagonal: 8 triangles, vertex 4 in the middle with 6.
std::string SlopeTin()
{
    std::ostringstream text;
    text << "group 面\n";
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            text << "v " << i * 2 << ' ' << j * 2 << ' ' << i << '\n';
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            const int a = j * 3 + i, b = a + 1, c = a + 4, d = a + 3;
            text << "t " << a << ' ' << b << ' ' << c << '\n' << "t " << a << ' ' << c << ' ' << d << '\n';
        }
    return text.str();
}

using Counts = std::vector<int>;

struct Row {
    const char* name;
    std::string scene;
    std::function<void()> act;
    std::optional<std::vector<int>> points;  // per group, after the row (none: the check states them)
    std::vector<int> triangles;      // per group
    std::vector<std::string> boxes;  // texts of the boxes shown
    std::string status;
    bool undo = false;               // an undo snapshot is left
    std::function<void()> check;     // flags, pixels and what else the row states
};

class CommandRunTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_boxes = InstallCommandTestServices(m_previousBoxes);
        m_frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(m_frame->OnCreate());
        CMainFrame::SetMainWindow(m_frame.get());  // as the application does: the view's frame link
        m_view = new TestView;
        m_view->Create();
        m_boxes->lockHeld = [view = m_view] { return view->ViewMutex().HeldByThisThread(); };
        m_frame->SetView(m_view);
        m_frame->resize(900, 700);
        m_frame->show();
        ASSERT_TRUE(ProcessEventsUntil([&] { return m_view->sceneFrames > 0 && m_view->ClientWidth() > 0; }));
    }
    void TearDown() override
    {
        m_dialogs.reset();
        CMainFrame::SetMainWindow(nullptr);
        m_frame.reset();
        RemoveCommandTestServices(m_previousBoxes);
    }

    TestView& View() { return *m_view; }
    CModelDataMng& Store() { return m_view->ModelStore(); }

    // A fresh scene, no undo, no selection, no mode: make-model text, or the
    // arguments of make-hostfile after kHostFile, loaded as the host's file.
    void Load(const std::string& scene)
    {
        Route(cmd::kShowUp);  // leaves any tool mode's drag state
        m_view->SetToolMode(toolmode::kNone);
        const bool hostFile = scene.rfind(kHostFile, 0) == 0;
        {
            std::lock_guard lock(m_view->ViewMutex());
            Store().ClearGroups();
            ModelViewState state;
            std::string error;
            ASSERT_TRUE(ModelText::Read(hostFile ? "" : scene, Store(), state, error)) << error;
            for (int i = 0; i < Store().GetGroupCount(); ++i)
                Store().GetGroup(i)->CreateGrid();
        }
        if (hostFile) {
            const std::string path = tessara::TempFolder() + "run-table.dat";
            std::vector<std::string> argv{TESSARA_BINARY_DIR_PATH "/bin/make-hostfile"};
            std::istringstream args(scene.substr(std::string(kHostFile).size()));
            for (std::string a; args >> a;)
                argv.push_back(a);
            argv.push_back(path);
            ASSERT_EQ(tessara::RunProcess(argv), 0);
            ASSERT_EQ(m_view->LoadHostDataFile(path, 0, 0), 1);
        }
        m_view->ClearUndoFiles(0);
        m_view->ClearUndoFiles(1);
        m_view->BuffersState().pickBuckets.clear();
        m_view->Settings().tinPictureMode = 1;
        m_view->Settings().tinEdgeSwitch = 1;
        m_view->Settings().tinPointSwitch = 0;
        m_view->Settings().tinPointLimit = 50;
        m_view->InvalidateAllBuffers();
        Route(cmd::kShowUp);
        Frame();
        m_boxes->Clear();
        m_dialogs.reset();  // a script restores its predecessor when it goes
        m_dialogs = std::make_unique<tessara::ScopedDialogScript>();
        m_view->SetMainFrameStatusText("");
    }
    void Route(unsigned id) { EXPECT_TRUE(m_frame->RouteCommand(id)) << "command " << id; }
    template <class Dlg>
    void Answer(std::function<int(typename Dlg::Values&)> answer)
    {
        AnswerUnlocked<Dlg>(**m_dialogs, *m_view, std::move(answer));
    }

    // The next frame drawn.
    QImage Frame() { return NextFrame(*m_view); }
    // Where a user point shows in the window (widget pixels, y down).
    QPoint At(double x, double y, double z) { return WhereShown(*m_view, x, y, z); }
    void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(p), m_view->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(m_view, &event);
    }
    void Click(QPoint p)
    {
        Mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    // Moves over p until the hover holds something (the hover cache is refilled
    // with the next frame after a mode change).
    void Hover(QPoint p, const std::function<bool()>& held)
    {
        EXPECT_TRUE(ProcessEventsUntil([&] {
            Mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
            if (held())
                return true;
            Frame();
            return false;
        }));
    }
    void Key(Qt::Key key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(m_view, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(m_view, &release);
    }
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& b : m_boxes->ShownBoxes())
            texts.push_back(b.text);
        return texts;
    }
    std::vector<int> PointCounts() { return GroupPointCounts(Store()); }
    std::vector<int> TriangleCounts() { return GroupTriangleCounts(Store()); }
    std::vector<std::array<std::uint32_t, 3>> Triangles(int group)
    {
        std::vector<std::array<std::uint32_t, 3>> out;
        for (const auto& t : Store().GetGroup(group)->m_triangles)
            out.push_back({t[0], t[1], t[2]});
        return out;
    }
    // Every shown point inside the window's width (and height, when asked): the fit
    // sizes the plan box, so a side view may show a tall model beyond top or bottom.
    bool AllPointsInWindow(bool vertically)
    {
        for (int g = 0; g < Store().GetGroupCount(); ++g) {
            const CPCloudMng& group = *Store().GetGroup(g);
            for (int i = 0; i < group.GetCloudPointSize(); ++i) {
                const auto& p = group.m_points[i];
                QVector3D w;
                if (!m_view->ProjectToWindow(QVector3D(p.x, p.y, p.z), w) || w.x() < 0 ||
                    w.x() > m_view->ClientWidth() || (vertically && (w.y() < 0 || w.y() > m_view->ClientHeight())))
                    return false;
            }
        }
        return true;
    }
    // Points left by the store filter run alone on a fresh copy of the scene.
    std::vector<int> FilterAlone(const std::string& scene, sampling::Filter filter)
    {
        CModelDataMng store;
        ModelViewState state;
        std::string error;
        EXPECT_TRUE(ModelText::Read(scene, store, state, error)) << error;
        EXPECT_EQ(sampling::RunStoreFilter(store, sampling::Params::FromSettings(m_view->Settings(), filter)), 1);
        std::vector<int> n;
        for (int i = 0; i < store.GetGroupCount(); ++i)
            n.push_back(store.GetGroup(i)->GetCloudPointSize());
        return n;
    }
    // Fills the elevation-deletion dialog and presses its OK button.
    void DeleteByElevation(double lower, double upper)
    {
        Route(kDeleteDialog);
        CDeleteDlg* dialog = m_view->DeleteDialog();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(ProcessEventsUntil([&] { return dialog->isVisible(); }));
        ControlIds::Find<QRadioButton>(dialog, 32931)->click();
        ControlIds::Find<QRadioButton>(dialog, 32932)->click();
        ControlIds::Find<CNumericDoubleEdit>(dialog, 32934)->SetValue(lower);
        ControlIds::Find<CNumericDoubleEdit>(dialog, 32935)->SetValue(upper);
        ControlIds::Find<QPushButton>(dialog, 1)->click();
        EXPECT_TRUE(ProcessEventsUntil([&] { return m_view->DeleteDialog() == nullptr && m_boxes->Count() > 0; }));
    }

    std::unique_ptr<CMainFrame> m_frame;
    TestView* m_view = nullptr;  // the frame's
    std::shared_ptr<LockCheckingBoxes> m_boxes;
    std::shared_ptr<tessara::MessageBoxService> m_previousBoxes;
    std::unique_ptr<tessara::ScopedDialogScript> m_dialogs;
};

// Pixels that differ from the background.
int Drawn(const QImage& image, QRgb background)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != background ? 1 : 0;
    return n;
}

} // namespace

TEST_F(CommandRunTableTest, EveryCommandEndToEnd)
{
    const std::string points = SlopePoints();
    const std::string tin = SlopeTin();
    std::vector<std::array<std::uint32_t, 3>> before;
    const std::vector<int> fullCounts{36, 25};

    const auto undoTo = [&](std::vector<int> triangles) {
        Route(cmd::kUndo);
        EXPECT_EQ(TriangleCounts(), triangles);
        EXPECT_EQ(Triangles(0), before) << "the undo restores the very triangles";
    };
    const auto toggleRow = [&](const char* name, unsigned id) {
        return Row{name, points, [this, id] {
                       const bool was = m_frame->Router().QueryUi(id).checked;
                       Route(id);
                       EXPECT_NE(m_frame->Router().QueryUi(id).checked, was) << id;
                       Route(id);
                       EXPECT_EQ(m_frame->Router().QueryUi(id).checked, was) << id;
                   }, fullCounts, {0, 0}, {}, "", false, nullptr};
    };
    // A picture mode's button turns its mode on, and off again.
    const auto pictureRow = [&](const char* name, unsigned id, int mode) {
        return Row{name, tin, [this, id, mode] {
                       View().Settings().tinPictureMode = 0;
                       Route(id);
                       EXPECT_EQ(View().Settings().tinPictureMode, mode);
                       EXPECT_TRUE(m_frame->Router().QueryUi(id).checked);
                       Route(id);
                   }, Counts{0}, {8}, {}, "", false, [this, id] {
                       EXPECT_EQ(View().Settings().tinPictureMode, 0);
                       EXPECT_FALSE(m_frame->Router().QueryUi(id).checked);
                   }};
    };
    const auto colourRow = [&](const char* name, unsigned id, short mode) {
        return Row{name, points, [this, id] { Route(id); }, fullCounts, {0, 0}, {}, "", false, [this, id, mode] {
                       EXPECT_EQ(View().m_pointColourMode, mode);
                       EXPECT_TRUE(m_frame->Router().QueryUi(id).checked);
                   }};
    };
    const auto directionRow = [&](const char* name, unsigned id, bool plan) {
        return Row{name, points, [this, id] {
                       View().ApplyRotation(-40.0f, 1.0f, 0.0f, 0.0f);
                       View().Zoom() *= 0.2f;
                       Route(id);
                   }, fullCounts, {0, 0}, {}, "", false, [this, plan] {
                       EXPECT_TRUE(AllPointsInWindow(plan));
                       const QImage picture = Frame();
                       EXPECT_GT(Drawn(picture, picture.pixel(2, 2)), 0);
                   }};
    };
    const auto samplingRow = [&](const char* name, unsigned id, sampling::Filter filter) {
        return Row{name, points, [this, id] {
                       Answer<VurGridDlg>([](VurGridDlg::Values& v) { v.cellM = {2.0, 2.0, 100.0}; return tessara::IDOK; });
                       Answer<VurRadiusDlg>([](VurRadiusDlg::Values& v) { v.radiusM = 1.1; v.minimumPoints = 4; return tessara::IDOK; });
                       Answer<VurOutRemoveDlg>([](VurOutRemoveDlg::Values& v) { v.neighbourCount = 8; return tessara::IDOK; });
                       View().PushUndoSnapshot(0x01);
                       m_boxes->QueueAnswer(tessara::IDOK);
                       m_boxes->QueueAnswer(tessara::IDOK);
                       Route(id);
                   }, std::nullopt, {0, 0}, {sampling::kFirstQuestion, sampling::kSecondQuestion}, sampling::kChooseNext, false,
                   [this, filter, &points] {
                       const std::vector<int> alone = FilterAlone(points, filter);
                       EXPECT_EQ(PointCounts(), alone) << "the command thins as the store filter alone does";
                       EXPECT_LT(alone[0], 36);
                   }};
    };

    const std::vector<Row> rows = {
        // TIN from the points of two groups, then coloured by height.
        {"make tin from two groups", points, [&] {
             Answer<MakeTinDlg>([](MakeTinDlg::Values&) { return tessara::IDOK; });
             Route(cmd::kShowUp);
             Route(cmd::kMakeTin);
         }, fullCounts, {50, 32}, {"三角数[82]のTINを作成しました "}, kTinMade, true, [&] {
             EXPECT_EQ((*m_dialogs)->Dialogs(), (std::vector<std::string>{"MakeTinDlg"}));
             EXPECT_EQ(View().Settings().tinPictureMode, 1);
             Route(cmd::kPictureHighLow);
             EXPECT_EQ(View().Settings().tinPictureMode, 4);
             const QImage picture = Frame();
             if (const char* dir = std::getenv("TESSARA_SCREENSHOT_DIR"))
                 picture.save(QString::fromUtf8(dir) + "/tin-from-points.png");
             // Inside faces, clear of edges and points.
             const QPoint low = At(0.5, 2.2, 0.25), high = At(4.5, 2.2, 2.25), east = At(11.5, 2.2, 5.75);
             const QPoint gap = At(6.5, 2.2, 3.25);
             const QRgb background = picture.pixel(picture.width() - 3, gap.y());
             for (QPoint p : {low, high, east})
                 EXPECT_NE(picture.pixel(p), background) << p.x() << "," << p.y() << " " << std::hex << picture.pixel(p);
             EXPECT_EQ(picture.pixel(gap), background) << "no TIN between the groups";
             EXPECT_NE(picture.pixel(low), picture.pixel(high)) << "heights give colours";
             EXPECT_NE(picture.pixel(high), picture.pixel(east));
         }},
        {"make tin undone", points, [&] {
             Answer<MakeTinDlg>([](MakeTinDlg::Values&) { return tessara::IDOK; });
             Route(cmd::kMakeTin);
             EXPECT_EQ(TriangleCounts(), (std::vector<int>{50, 32}));
             m_boxes->Clear();
             Route(cmd::kUndo);
         }, fullCounts, {0, 0}, {}, filetexts::kUndoDone, false, nullptr},
        {"a face-deletion click beside the TIN erases nothing", tin, [&] {
             Route(cmd::kTinFaceDelete);
             Frame();
             const QPoint beside = At(-0.3, 2.0, 0.0);  // inside the window, west of the TIN
             EXPECT_TRUE(QRect(1, 1, View().ClientWidth(), View().ClientHeight()).contains(beside));
             Click(beside);
         }, Counts{0}, {8}, {}, kFacePrompt, false, nullptr},
        // The host's file: its 10 x 10 lattice on the host's slope meshed.
        {"make tin from the host's points", std::string(kHostFile) + " --points 100", [&] {
             Answer<MakeTinDlg>([](MakeTinDlg::Values&) { return tessara::IDOK; });
             Route(cmd::kMakeTin);
         }, Counts{100}, {162}, {"三角数[162]のTINを作成しました "}, kTinMade, true, nullptr},
        {"host's points deleted by elevation", std::string(kHostFile) + " --points 100", [&] {
             // z = 50 + 0.1 dx + 0.05 dy: up to 50.175 lie four points of the first
             // column and two of the second.
             m_boxes->QueueAnswer(tessara::IDYES);
             DeleteByElevation(49.0, 50.175);
         }, Counts{94}, {0}, {deletion::kAskInside}, deletion::kDoneRange, true, nullptr},
        // TIN edits by clicks, each undone.
        {"face deletion by a click, undone", tin, [&] {
             before = Triangles(0);
             Route(cmd::kTinFaceDelete);
             EXPECT_EQ(View().LastStatusText(), kFacePrompt);
             Frame();
             Click(At(1.5, 0.5, 0.75));
             EXPECT_EQ(TriangleCounts(), std::vector<int>{7});
             EXPECT_TRUE(m_frame->Router().QueryUi(cmd::kUndo).enabled);
             undoTo({8});
         }, Counts{0}, {8}, {}, filetexts::kUndoDone, false, nullptr},
        {"edge swap by a click, undone", tin, [&] {
             before = Triangles(0);
             Route(cmd::kTinEdgeSwap);
             EXPECT_EQ(View().LastStatusText(), kEdgePrompt);
             // The rising diagonal of the lower left square, from vertex 0 to vertex 4.
             Hover(At(1.0, 1.0, 0.5), [&] { return !View().BuffersState().pick->hoveredEdges.empty(); });
             Click(At(1.0, 1.0, 0.5));
             EXPECT_EQ(TriangleCounts(), std::vector<int>{8});
             EXPECT_NE(Triangles(0), before);
             bool falling = false;
             for (const auto& t : Triangles(0))
                 falling = falling || ((t[0] == 1 || t[1] == 1 || t[2] == 1) && (t[0] == 3 || t[1] == 3 || t[2] == 3));
             EXPECT_TRUE(falling) << "the square is split along 1-3 now";
             undoTo({8});
         }, Counts{0}, {8}, {}, filetexts::kUndoDone, false, nullptr},
        {"vertex removal by a click, undone", tin, [&] {
             before = Triangles(0);
             Route(cmd::kTinVertexRemove);
             EXPECT_EQ(View().LastStatusText(), kVertexPrompt);
             EXPECT_EQ(View().Settings().tinPointSwitch, 1);
             Hover(At(2.0, 2.0, 1.0), [&] { return View().BuffersState().pick->hoveredVertex.has_value(); });
             Click(At(2.0, 2.0, 1.0));
             EXPECT_EQ(TriangleCounts(), std::vector<int>{6}) << "the six around the middle give way to four";
             undoTo({8});
         }, Counts{0}, {8}, {}, filetexts::kUndoDone, false, nullptr},
        {"tin edit mode toggled off", tin, [&] {
             Route(cmd::kTinEdgeSwap);
             EXPECT_TRUE(m_frame->Router().QueryUi(cmd::kTinEdgeSwap).checked);
             Route(cmd::kTinEdgeSwap);
         }, Counts{0}, {8}, {}, "", false, [&] { EXPECT_FALSE(m_frame->Router().QueryUi(cmd::kTinEdgeSwap).checked); }},
        // View directions from a turned, shrunk view.
        directionRow("view from above", cmd::kShowUp, true),
        directionRow("view from below", cmd::kShowLow, true),
        directionRow("view from the left", cmd::kShowLeft, false),
        directionRow("view from the right", cmd::kShowRight, false),
        directionRow("view from the front", cmd::kShowFront, false),
        directionRow("view from the back", cmd::kShowBack, false),
        // Display switches and picture modes.
        toggleRow("cad switch", cmd::kSwitchCad),
        toggleRow("part switch", cmd::kSwitchPart),
        toggleRow("tin edges switch", cmd::kSwitchTin),
        toggleRow("tin points switch", cmd::kSwitchTinPoint),
        toggleRow("paper", cmd::kSupportPaper),
        toggleRow("mesh", cmd::kSupportMesh),
        toggleRow("axis", cmd::kSupportAxis),
        toggleRow("depth", cmd::kModeDepth),
        toggleRow("direction mark", cmd::kSupportDirXyz),
        toggleRow("compass mark", cmd::kSupportDirNews),
        toggleRow("size caption", cmd::kSupportSize),
        pictureRow("single colour faces", cmd::kPictureColor, 1),
        pictureRow("faces by height", cmd::kPictureHighLow, 4),
        pictureRow("faces by slope", cmd::kPictureIncline, 2),
        // Point colours.
        colourRow("points by height", cmd::kPointHeight, 1),
        colourRow("points in their colours", cmd::kPointRgb, 2),
        colourRow("points in one colour", cmd::kPointMono, 3),
        colourRow("points by intensity", cmd::kPointIntensity, 4),
        colourRow("points by group", cmd::kPointGroup, 5),
        // The selection registered as a new group.
        {"selection registered as a group", points, [&] {
             View().BuffersState().pickBuckets = {SelPCloud{0, {0, 1, 2, 3, 4}}};
             Answer<CEditPCloudGroupDlg>([](CEditPCloudGroupDlg::Values& v) {
                 v.newGroup = 1;
                 v.name = "登録%s%n";
                 return tessara::IDOK;
             });
             Route(kRegisterAsGroup);
         }, Counts{31, 25, 5}, {0, 0, 0}, {}, "", true, [&] {
             EXPECT_EQ(Store().GetGroup(2)->m_name, "登録%s%n");
             EXPECT_TRUE(View().BuffersState().pickBuckets.empty());
         }},
        // Deletion: a polygon selection removed with the Delete key, and undone.
        {"polygon selection deleted by the delete key, undone", points, [&] {
             // The western half of the western group: x 0..2, all rows.
             const QPoint a = At(-0.5, -0.5, 0), b = At(2.5, 5.5, 0);
             View().BuffersState().pick->keys = [] { return PolygonSelection::Keys{}; };
             EXPECT_EQ(View().SelectByScreenPolygon({{a.x(), a.y()}, {b.x(), a.y()}, {b.x(), b.y()}, {a.x(), b.y()}}, 0), 1);
             ASSERT_EQ(View().BuffersState().pickBuckets.size(), 1u);
             EXPECT_EQ(View().BuffersState().pickBuckets[0].points.size(), 18u);
             m_boxes->QueueAnswer(tessara::IDYES);
             Key(Qt::Key_Delete);
             EXPECT_EQ(PointCounts(), (std::vector<int>{18, 25}));
             EXPECT_TRUE(View().BuffersState().pickBuckets.empty());
             Route(cmd::kUndo);
         }, fullCounts, {0, 0}, {deletion::kAskPoints}, filetexts::kUndoDone, false, nullptr},
        {"elevation range deleted through the delete dialog", points, [&] {
             m_boxes->QueueAnswer(tessara::IDYES);
             DeleteByElevation(0.0, 1.0);
         }, Counts{18, 25}, {0, 0}, {deletion::kAskInside}, deletion::kDoneRange, true, [&] {
             EXPECT_EQ(View().Settings().deleteMode, 2);
         }},
        {"everything shown deleted through the delete dialog", points, [&] {
             m_boxes->QueueAnswer(tessara::IDOK);
             m_boxes->QueueAnswer(tessara::IDOK);
             Route(kDeleteDialog);
             CDeleteDlg* dialog = View().DeleteDialog();
             ASSERT_NE(dialog, nullptr);
             ControlIds::Find<QRadioButton>(dialog, 32929)->click();
             ControlIds::Find<QPushButton>(dialog, 1)->click();
             EXPECT_TRUE(ProcessEventsUntil([&] { return View().DeleteDialog() == nullptr && m_boxes->Count() >= 2; }));
         }, Counts{}, {}, {deletion::kAllDataFirst, deletion::kAllSecond}, deletion::kDoneAll, false, nullptr},
        // Point filters with their dialog and both confirmations.
        samplingRow("grid sampling", kSampleGrid, sampling::Filter::Grid),
        samplingRow("lowest point per cell", kSampleGridMinZ, sampling::Filter::GridMinZ),
        samplingRow("highest point per cell", kSampleGridMaxZ, sampling::Filter::GridMaxZ),
        samplingRow("radius filter", kFilterRadius, sampling::Filter::Radius),
        samplingRow("outlier removal", kFilterOutlier, sampling::Filter::Outlier),
        // Tools: the scene information, the settings dialogs, the group pane.
        {"scene information", points, [&] {
             Route(kToolInfo);
             ASSERT_EQ(m_boxes->Count(), 1u);
             const std::string text = m_boxes->ShownBoxes()[0].text;
             const std::string counts = "点群ブロック数\t：2個\n点群総数\t\t：61個\nTIN\t\t：三角数（0個）\nCAD\t\t：図形数（0個）\n\n"
                                        "最小Z\t\t：  0.0000\n最大Z\t\t：  6.0000\n左下座標\t\t：X=";
             // The lower-left corner is the host's reference of an earlier row's file:
             // the scene of this row came without a frame of its own.
             const std::size_t at = text.find(counts);
             ASSERT_NE(at, std::string::npos) << text;
             EXPECT_EQ(text.find('\n', at + counts.size()), std::string::npos) << text;
             m_boxes->Clear();
         }, fullCounts, {0, 0}, {}, "", false, nullptr},
        // The host's file: the lower-left corner is the host's reference point in
        // survey coordinates, as the coordinate readout shows it.
        {"scene information in survey coordinates", std::string(kHostFile) + " --points 100", [&] {
             Route(kToolInfo);
             ASSERT_EQ(m_boxes->Count(), 1u);
             const std::string text = m_boxes->ShownBoxes()[0].text;
             EXPECT_NE(text.find("左下座標\t\t：X=-12000.0000  Y=-34000.0000"), std::string::npos) << text;
             m_boxes->Clear();
         }, Counts{100}, {0}, {}, "", false, nullptr},
        {"functions still to come", points, [&] {
             Route(kNotImplemented1);
             Route(kNotImplemented2);
         }, fullCounts, {0, 0}, {kNotImplementedText, kNotImplementedText}, "", false, nullptr},
        {"view settings dialog, raising the point size", points, [&] {
             Answer<CGlviewrVurDlg>([](CGlviewrVurDlg::Values& v) {
                 v.settings.pointSizeIndex = 3;
                 return tessara::IDOK;
             });
             Route(cmd::kFileSetting);
         }, fullCounts, {0, 0}, {}, "", false, [&] {
             EXPECT_EQ(View().Settings().pointSizeIndex, 3);
             EXPECT_EQ((*m_dialogs)->Dialogs(), (std::vector<std::string>{"CGlviewrVurDlg"}));
         }},
        {"colour setting dialog cancelled", points, [&] {
             Answer<CColorSettingDlg>([](CColorSettingDlg::Values&) { return tessara::IDCANCEL; });
             Route(cmd::kColorSetting);
         }, fullCounts, {0, 0}, {}, "", false, [&] {
             EXPECT_EQ((*m_dialogs)->Dialogs(), (std::vector<std::string>{"CColorSettingDlg"}));
         }},
        {"group pane hidden and shown", points, [&] {
             const bool shown = m_frame->Router().QueryUi(cmd::kGroupView).checked;
             Route(cmd::kGroupView);
             EXPECT_NE(m_frame->Router().QueryUi(cmd::kGroupView).checked, shown);
             Route(cmd::kGroupView);
             EXPECT_EQ(m_frame->Router().QueryUi(cmd::kGroupView).checked, shown);
         }, fullCounts, {0, 0}, {}, "", false, nullptr},
        {"cad selection mode", points, [&] {
             Route(cmd::kCadSelect);
             EXPECT_TRUE(m_frame->Router().QueryUi(cmd::kCadSelect).checked);
         }, fullCounts, {0, 0}, {}, kEditCadPrompt, false, nullptr},
        // The measuring tools: clicks on two known points of the western group.
        {"distance between two points", points, [&] {
             View().m_pointColourMode = 2;
             Route(cmd::kToolDistance);
             EXPECT_EQ(View().LastStatusText(), measuretexts::kFirstPoint);
             Click(At(0, 0, 0));
             Click(At(4, 3, 2));
         }, fullCounts, {0, 0}, {}, "平面距離：5.000000 斜距離：5.385165 高低差：2.000000", false, [&] {
             EXPECT_DOUBLE_EQ(View().m_measureResult.plane, 5.0);
             EXPECT_DOUBLE_EQ(View().m_measureResult.height, 2.0);
             const QImage picture = Frame();
             // The plane line runs at the lower point's height from there.
             EXPECT_NE(picture.pixel(At(2, 1.5, 0)), picture.pixel(picture.width() - 3, 3));
             Route(cmd::kToolDistance);
             EXPECT_FALSE(m_frame->Router().QueryUi(cmd::kToolDistance).checked);
         }},
        {"cross-section across a TIN and a cloud", *tessara::ReadWholeFile(std::string(TESSARA_SOURCE_DIR_PATH) +
                                                                           "/examples/models/cross-section.txt"),
         [&] {
             View().m_pointColourMode = 2;
             View().Settings().sectionPointSpacingM = 0.05;
             Route(cmd::kToolSection);
             Click(At(2, 7.05, 16.35));
             Click(At(28, 7.05, 16.03));
         }, std::nullopt, {18, 0}, {}, measuretexts::kFirstPoint, false, [&] {
             const SectionSheet* sheet = View().CurrentSectionSheet();
             ASSERT_NE(sheet, nullptr);
             EXPECT_NEAR(sheet->length, 26.0, 1e-6);
             EXPECT_FALSE(sheet->tinHits.empty());
             EXPECT_FALSE(sheet->pointHits.empty());
             Route(cmd::kToolSection);
             EXPECT_EQ(View().CurrentSectionSheet(), nullptr);
         }},
        {"grid sampling refused at the second question", points, [&] {
             Answer<VurGridDlg>([](VurGridDlg::Values&) { return tessara::IDOK; });
             m_boxes->QueueAnswer(tessara::IDOK);
             m_boxes->QueueAnswer(tessara::IDCANCEL);
             Route(kSampleGrid);
         }, fullCounts, {0, 0}, {sampling::kFirstQuestion, sampling::kSecondQuestion}, "", false, nullptr},
    };

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Load(row.scene);
        row.act();
        if (row.points) {
            EXPECT_EQ(PointCounts(), *row.points);
        }
        EXPECT_EQ(TriangleCounts(), row.triangles);
        EXPECT_EQ(BoxTexts(), row.boxes);
        EXPECT_EQ(View().LastStatusText(), row.status);
        EXPECT_EQ(View().CanUndo(), row.undo);
        if (row.check)
            row.check();
    }
}

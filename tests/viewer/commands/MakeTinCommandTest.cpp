#include "CommandViewFixture.h"

#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/buffers/ViewPickState.h"
#include "viewer/render/ViewConstants.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/MakeTinDlg.h"
#include "viewer/render/ViewSettings.h"

#include <any>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <set>

namespace {

constexpr unsigned kMakeTin = 32820;

class MakeTinCommandTest : public CommandViewTest {
protected:
    void SetUp() override
    {
        CommandViewTest::SetUp();
        m_dialogs = std::make_unique<tessara::ScopedDialogScript>();
        AnswerUnlocked<MakeTinDlg>(**m_dialogs, View(), [](MakeTinDlg::Values&) { return tessara::IDOK; });
    }
    void TearDown() override
    {
        m_dialogs.reset();
        CommandViewTest::TearDown();
    }
    // A side x side grid on a slope rising 0.5 per metre eastwards.
    void AddSlope(int side, float x0)
    {
        auto g = std::make_unique<CPCloudMng>();
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j)
                g->AddCloudPoint(x0 + static_cast<float>(i), static_cast<float>(j), 0.5f * static_cast<float>(i), 0, 0.0);
        g->m_nDataFlag = 1;
        g->CreateGrid();
        View().ModelStore().AddGroup(std::move(g));
    }
public:
    CModelDataMng& Store() { return View().ModelStore(); }

protected:
    std::vector<std::string> BoxTexts()
    {
        std::vector<std::string> texts;
        for (const auto& b : Boxes().ShownBoxes())
            texts.push_back(b.text);
        return texts;
    }

    std::unique_ptr<tessara::ScopedDialogScript> m_dialogs;
};

} // namespace

TEST_F(MakeTinCommandTest, WholeCloudsEachGetATinAndTheCountIsReported)
{
    AddSlope(5, 0.0f);
    AddSlope(4, 100.0f);
    View().Settings().tinPictureMode = 0;
    Run(kMakeTin);
    // 5 x 5 points give 32 triangles, 4 x 4 give 18.
    EXPECT_EQ(Store().GetGroup(0)->GetTriangleCount(), 32);
    EXPECT_EQ(Store().GetGroup(1)->GetTriangleCount(), 18);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"三角数[50]のTINを作成しました "}));
    EXPECT_EQ(View().Settings().tinPictureMode, 1);
    EXPECT_EQ(View().LastStatusText(), "処理完了（TIN生成）");
    EXPECT_TRUE(View().CanUndo());
    EXPECT_EQ((*m_dialogs)->Dialogs(), (std::vector<std::string>{"MakeTinDlg"}));
}

TEST_F(MakeTinCommandTest, ACloudAboveTheLimitIsSampledOnlyWhenTheUserAgrees)
{
    View().Settings().tinPointLimit = 1;  // 10,000 points
    AddSlope(120, 0.0f);                  // 14,400 points
    AddSlope(4, 200.0f);

    Boxes().QueueAnswer(tessara::IDNO);
    Run(kMakeTin);
    EXPECT_EQ(Store().GetGroup(0)->GetCloudPointSize(), 14400);
    EXPECT_EQ(Store().GetGroup(0)->GetTriangleCount(), 0);
    EXPECT_EQ(Store().GetGroup(1)->GetTriangleCount(), 0) << "the run stops at the refused cloud";
    EXPECT_FALSE(View().CanUndo());

    Boxes().Clear();
    Boxes().QueueAnswer(tessara::IDYES);
    Run(kMakeTin);
    EXPECT_LE(Store().GetGroup(0)->GetCloudPointSize(), 10000);
    EXPECT_GT(Store().GetGroup(0)->GetTriangleCount(), 0);
    EXPECT_EQ(Store().GetGroup(1)->GetCloudPointSize(), 16) << "only the large cloud is thinned";
    EXPECT_EQ(Store().GetGroup(1)->GetTriangleCount(), 18);
    EXPECT_TRUE(View().CanUndo());
}

TEST_F(MakeTinCommandTest, ASelectionAboveTheLimitIsRefusedWithTheLimit)
{
    View().Settings().tinPointLimit = 1;
    AddSlope(101, 0.0f);  // 10,201 points
    SelPCloud all{0, {}};
    for (std::uint64_t i = 0; i < 10001; ++i)
        all.points.push_back(i);
    View().BuffersState().pickBuckets = {all};
    Run(kMakeTin);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0],
              "選択点群数が10000点以上あるため実行できません\n選択点群の数を減らしてから実行してください。");
    EXPECT_EQ(Store().GetGroup(0)->GetTriangleCount(), 0);
}

TEST_F(MakeTinCommandTest, ASelectionInOneShownGroupMeshesExactlyThosePoints)
{
    AddSlope(5, 0.0f);
    auto hidden = std::make_unique<CPCloudMng>();
    hidden->AddCloudPoint(50, 50, 0, 0, 0.0);
    hidden->m_nShowGroup = 0;
    Store().AddGroup(std::move(hidden));
    // The four corners of the square and its centre; a hidden group's entry takes no part.
    View().BuffersState().pickBuckets = {SelPCloud{0, {0, 4, 12, 20, 24}}, SelPCloud{1, {0}}};
    Run(kMakeTin);
    EXPECT_EQ(Store().GetGroup(0)->GetTriangleCount(), 4);
    EXPECT_EQ(Store().GetGroup(1)->GetTriangleCount(), 0);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"三角数[4]のTINを作成しました "}));
    EXPECT_TRUE(View().CanUndo());
}

TEST_F(MakeTinCommandTest, ASelectionOverTwoShownGroupsMergesAfterBothConfirmations)
{
    AddSlope(3, 0.0f);
    AddSlope(3, 10.0f);
    View().BuffersState().pickBuckets = {SelPCloud{0, {0, 2, 6, 8}}, SelPCloud{1, {0, 2, 6, 8}}};

    Boxes().QueueAnswer(tessara::IDYES);
    Boxes().QueueAnswer(tessara::IDCANCEL);
    Run(kMakeTin);
    EXPECT_EQ(Store().GetGroupCount(), 2) << "a refused warning changes nothing";

    Boxes().Clear();
    Boxes().QueueAnswer(tessara::IDYES);
    Boxes().QueueAnswer(tessara::IDOK);
    Run(kMakeTin);
    ASSERT_EQ(Store().GetGroupCount(), 1);
    EXPECT_EQ(Store().GetGroup(0)->GetCloudPointSize(), 18);
    EXPECT_GT(Store().GetGroup(0)->GetTriangleCount(), 0);
    EXPECT_TRUE(View().BuffersState().pickBuckets.empty()) << "merged points have new numbers";
    EXPECT_FALSE(View().CanUndo()) << "merging clears the undo lists";
}

// ---- TIN from points: the stops of the whole-cloud run ----------------------------

namespace {

constexpr const char* kSamplingQuestion =
    "点群数が10000点以上あるため実行できません\nサンプリング等で点群の数を減らしてから実行してください。"
    "\n\n自動で点をサンプリングしTINの生成を実行しますか？";
constexpr const char* kOverCap =
    "点群数が100万点以上ある為実行できません\nサンプリング等で点群の数を減らしてから実行してください。";
constexpr const char* kSamplingFailed = "点群数のサンプリング制限を超えました\n\n処理を中止します";

struct StopCase {
    const char* name;
    std::vector<int> clouds;  // side of each square cloud, 1 m apart; negative: 10 m apart
    int answer;               // to the sampling question (when asked)
    std::vector<std::string> boxes;
    int pictureMode;          // after the run, from 0
    bool undo;
};

class WholeCloudStopTest : public MakeTinCommandTest, public ::testing::WithParamInterface<StopCase> {};

} // namespace

// A run finishes (picture mode on, the count reported) only when it ran to its
// end; one that stopped early finishes only when it changed the store.
TEST_P(WholeCloudStopTest, FinishesOnlyWhatChangedTheStore)
{
    const StopCase& c = GetParam();
    View().Settings().tinPointLimit = 1;  // 10,000 points
    View().Settings().tinPictureMode = 0;
    float x0 = 0.0f;
    for (int side : c.clouds) {
        if (side > 0) {
            AddSlope(side, x0);
            x0 += static_cast<float>(side) + 10.0f;
            continue;
        }
        // Points 10 m apart: no sampling cell (at most 5 m) thins them.
        auto g = std::make_unique<CPCloudMng>();
        for (int i = 0; i < -side; ++i)
            for (int j = 0; j < -side; ++j)
                g->AddCloudPoint(x0 + 10.0f * static_cast<float>(i), 10.0f * static_cast<float>(j), 0.0f, 0, 0.0);
        g->m_nDataFlag = 1;
        g->CreateGrid();
        Store().AddGroup(std::move(g));
        x0 += 10.0f * static_cast<float>(-side) + 10.0f;
    }
    Boxes().QueueAnswer(c.answer);
    Run(kMakeTin);
    // An expected text ending in '[' stands for the texts it begins.
    const std::vector<std::string> shown = BoxTexts();
    ASSERT_EQ(shown.size(), c.boxes.size()) << ::testing::PrintToString(shown);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (c.boxes[i].back() == '[') {
            EXPECT_EQ(shown[i].rfind(c.boxes[i], 0), 0u) << shown[i];
        } else {
            EXPECT_EQ(shown[i], c.boxes[i]);
        }
    }
    EXPECT_EQ(View().Settings().tinPictureMode, c.pictureMode);
    EXPECT_EQ(View().CanUndo(), c.undo);
    if (c.pictureMode == 0) {
        EXPECT_NE(View().LastStatusText(), "処理完了（TIN生成）");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, WholeCloudStopTest,
    ::testing::Values(
        StopCase{"no_at_the_first_cloud", {120}, tessara::IDNO, {kSamplingQuestion}, 0, false},
        StopCase{"yes_samples_and_reports", {120}, tessara::IDYES, {kSamplingQuestion, "三角数["}, 1, true},
        StopCase{"no_after_a_small_cloud_keeps_its_tin", {4, 120}, tessara::IDNO, {kSamplingQuestion}, 1, true},
        StopCase{"over_the_cap", {1001}, tessara::IDYES, {kOverCap}, 0, false},
        StopCase{"just_at_the_cap_is_asked", {1000}, tessara::IDNO, {kSamplingQuestion}, 0, false},
        StopCase{"sampling_fails", {-101}, tessara::IDYES, {kSamplingQuestion, kSamplingFailed}, 0, true},
        StopCase{"sampling_fails_after_a_small_cloud", {4, -101}, tessara::IDYES,
                 {kSamplingQuestion, kSamplingFailed}, 1, true}),
    [](const ::testing::TestParamInfo<StopCase>& info) { return std::string(info.param.name); });

// ---- TIN from CAD figures -----------------------------------------------------------

namespace {

constexpr unsigned kMakeTinFromCad = 32791;
constexpr unsigned kUndo = 32800;
constexpr const char* kCadCaption = "CAD図形からTINを作成します 処理を実行しますか？";
constexpr const char* kCadNothing =
    "標高を持つCAD図形からTINを作成できませんでした。\n表示中のCAD図形に、同一直線上にない標高付きの点が3点以上必要です。";

class CadTinCommandTest : public MakeTinCommandTest {
public:
    void AddFigure(std::uint8_t kind, std::vector<PT> points)
    {
        CElmData e;
        e.m_nKind = kind;
        e.m_ptLists.push_back(std::move(points));
        e.RebuildSegments();
        Store().m_elmList.push_back(std::move(e));
        Store().RebuildCadLayers();
    }
    // A square polyline with elevations, a point with one in its middle, and a
    // line without elevations.
    void AddSite()
    {
        AddFigure(13, {PT(0, 0, 1), PT(10, 0, 2), PT(10, 10, 3), PT(0, 10, 4), PT(0, 0, 1)});
        AddFigure(11, {PT(5, 5, 8)});
        AddFigure(12, {PT(20, 0, 1e-16), PT(30, 0, 1e-16)});
    }
};

} // namespace

TEST_F(CadTinCommandTest, MakesTheCadTinCountsFiguresWithoutElevationsAndUndoes)
{
    AddSite();
    View().Settings().tinPictureMode = 0;
    View().Settings().tinOption.m_nConsiderBreakLineSw = 1;
    View().Settings().splitBreakLines = 0;
    Store().m_nShowCADTin = 0;
    Run(kMakeTinFromCad);

    const auto calls = (*m_dialogs)->Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(std::any_cast<MakeTinDlg::Values>(calls[0].valuesIn).text, kCadCaption);
    // Four corners and the middle: four triangles.
    EXPECT_EQ(Store().m_cadTin.GetTriangleCount(), 4);
    EXPECT_EQ(Store().m_nShowCADTin, 1) << "the new TIN is shown";
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(View().LastStatusText(), "処理を終了しました（TIN生成） 三角数[4] 標高のないCAD図形1個は除外しました");
    EXPECT_EQ(View().Settings().tinPictureMode, 1);
    ASSERT_TRUE(View().CanUndo());

    // A second run over one more point replaces it; undo brings the first back,
    // then the empty one.
    AddFigure(11, {PT(15, 5, 2)});
    Run(kMakeTinFromCad);
    EXPECT_EQ(Store().m_cadTin.GetTriangleCount(), 5);
    Run(kUndo);
    EXPECT_EQ(Store().m_cadTin.GetTriangleCount(), 4);
    Run(kUndo);
    EXPECT_EQ(Store().m_cadTin.GetTriangleCount(), 0);
    EXPECT_FALSE(View().CanUndo());
    EXPECT_EQ(Store().m_elmList.size(), 4u) << "the figures are not touched";
}

TEST_F(CadTinCommandTest, WithoutUsableFiguresOrWhenCancelledNothingChanges)
{
    struct Case {
        const char* name;
        std::function<void(CadTinCommandTest&)> scene;
        bool ok;
        std::vector<std::string> boxes;
    };
    const std::vector<Case> cases = {
        {"no figures", [](CadTinCommandTest&) {}, true, {kCadNothing}},
        {"figures without elevations",
         [](CadTinCommandTest& t) { t.AddFigure(12, {PT(0, 0, 1e-16), PT(9, 0, 1e-16), PT(9, 9, 1e-16)}); }, true,
         {kCadNothing}},
        {"hidden CAD section",
         [](CadTinCommandTest& t) {
             t.AddSite();
             t.Store().m_nShowCAD = 0;
         },
         true, {kCadNothing}},
        {"on one line",
         [](CadTinCommandTest& t) {
             t.AddFigure(13, {PT(0, 0, 1), PT(5, 5, 2), PT(9, 9, 3)});
             t.AddFigure(11, {PT(5, 5, 4)});
         },
         true, {kCadNothing}},
        {"cancelled", [](CadTinCommandTest& t) { t.AddSite(); }, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store().ClearCadFigures();
        Store().m_nShowCAD = 1;
        Store().m_cadTin.ClearVertex();
        Boxes().Clear();
        View().Settings().tinPictureMode = 0;
        c.scene(*this);
        AnswerUnlocked<MakeTinDlg>(**m_dialogs, View(), [&](MakeTinDlg::Values&) {
            return c.ok ? tessara::IDOK : tessara::IDCANCEL;
        });
        Run(kMakeTinFromCad);
        EXPECT_EQ(BoxTexts(), c.boxes);
        EXPECT_EQ(Store().m_cadTin.GetTriangleCount(), 0);
        EXPECT_EQ(View().Settings().tinPictureMode, 0);
        EXPECT_FALSE(View().CanUndo());
    }
}

// A small hill of contour lines and spot heights: the CAD TIN drawn coloured by
// height over the figures. With TESSARA_SCREENSHOT_DIR set the picture is kept
// there as cad-tin.png.
TEST_F(CadTinCommandTest, TheCadTinIsDrawnColouredByHeight)
{
    constexpr double kPi = 3.14159265358979323846;
    for (int ring = 1; ring <= 4; ++ring) {
        std::vector<PT> contour;
        for (int k = 0; k <= 24; ++k) {
            const double a = 2.0 * kPi * k / 24.0, r = 50.0 - 10.0 * ring;
            contour.emplace_back(r * std::cos(a) * 1.3, r * std::sin(a), 8.0 + 2.0 * ring);
        }
        AddFigure(13, contour);
        Store().m_elmList.back().m_nColor = 0x0000FFFF;  // yellow contour lines
    }
    AddFigure(11, {PT(0, 0, 18)});
    for (double x : {-60.0, 60.0})
        for (double y : {-45.0, 45.0})
            AddFigure(11, {PT(x, y, 8)});
    AddFigure(12, {PT(-60, -50, 1e-16), PT(60, -50, 1e-16)});  // a plan line: left out
    ViewSettings& s = View().Settings();
    s.tinOption.m_nConsiderBreakLineSw = 1;
    s.splitBreakLines = 0;
    Run(kMakeTinFromCad);
    ASSERT_GT(Store().m_cadTin.GetTriangleCount(), 0);
    EXPECT_NE(View().LastStatusText().find("標高のないCAD図形1個は除外しました"), std::string::npos);

    s.tinPictureMode = 4;
    s.tinEdgeSwitch = 1;
    s.cadSwitch = 1;
    View().resize(480, 360);
    View().SetClientSize(480, 360);
    View().OnShowUp();
    const int before = View().sceneFrames;
    View().InvalidateScene();
    ASSERT_TRUE(ProcessEventsUntil([&] { return View().sceneFrames > before; }));
    const QImage picture = View().grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    if (const char* dir = std::getenv("TESSARA_SCREENSHOT_DIR"))
        picture.save(QString::fromUtf8(dir) + "/cad-tin.png");
    // The hilltop and the foot have colours of their own; neither is background.
    const QRgb background = picture.pixel(1, 1);
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 4)
        for (int x = 0; x < picture.width(); x += 4)
            if (picture.pixel(x, y) != background)
                colours.insert(picture.pixel(x, y));
    EXPECT_GT(colours.size(), 20u) << "a height-coloured surface, not a flat one";
    EXPECT_NE(picture.pixel(picture.width() / 2, picture.height() / 2), background) << "the TIN fills the middle";
}

// The CAD TIN is edited and undone as a group TIN is: its middle vertex removed,
// the hole meshed again, and undo brings the fan back.
TEST_F(CadTinCommandTest, TheCadTinIsEditedAndTheEditUndone)
{
    AddSite();
    Run(kMakeTinFromCad);
    ASSERT_EQ(Store().m_cadTin.GetTriangleCount(), 4);
    std::int64_t middle = -1;
    for (int i = 0; i < Store().m_cadTin.GetVertexSize(); ++i)
        if (Store().m_cadTin.m_vertices[std::size_t(i)].x == 5.0f && Store().m_cadTin.m_vertices[std::size_t(i)].y == 5.0f)
            middle = i;
    ASSERT_GE(middle, 0);
    View().SetToolMode(toolmode::kTinVertexEdit);
    HoverPickCache::Vertex vertex;
    vertex.kind = HoverPickCache::kKindCadTin;
    vertex.group = -1;
    vertex.index = middle;
    View().BuffersState().pick->hoveredVertex = vertex;
    EXPECT_EQ(View().ApplyTinEdit(5, 5), 1);
    EXPECT_EQ(Store().m_cadTin.GetTriangleCount(), 2);
    Run(kUndo);
    EXPECT_EQ(Store().m_cadTin.GetTriangleCount(), 4);
}

#include "CommandViewFixture.h"

#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/buffers/ViewPickState.h"
#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/dialogs/CColorSettingDlg.h"
#include "viewer/dialogs/CGlviewrVurDlg.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/ScriptedColorDialogs.h"
#include "viewer/render/FrameLink.h"
#include "viewer/render/ViewConstants.h"

#include <QAction>
#include <QMenu>

namespace {

class StyleCommandsTest : public CommandViewTest {
protected:
    void SetUp() override
    {
        CommandViewTest::SetUp();
        ShellHooks::Instance().closeElevationLegend = [this] { ++elevationCloses; return true; };
        ShellHooks::Instance().closeIntensityLegend = [this] { ++intensityCloses; return true; };
        ShellHooks::Instance().closeSlopeLegend = [this] { ++slopeCloses; return true; };
        m_colours = std::make_shared<ScriptedColorDialogs>();
        m_previousColours = ColorDialogService::Set(m_colours);
    }
    void TearDown() override
    {
        ColorDialogService::Set(m_previousColours);
        ShellHooks::Instance().closeElevationLegend = nullptr;
        ShellHooks::Instance().closeIntensityLegend = nullptr;
        ShellHooks::Instance().closeSlopeLegend = nullptr;
        CommandViewTest::TearDown();
    }
    void AddFigures(std::size_t count, COLORREF colour)
    {
        ModelStoreFigures().assign(count, CElmData{});
        for (CElmData& figure : ModelStoreFigures())
            figure.m_nColor = colour;
    }
    std::vector<CElmData>& ModelStoreFigures() { return View().ModelStore().m_elmList; }
    //! The checked item of a sub-menu, by its id.
    static int CheckedIn(QMenu& menu, int subMenu)
    {
        const QList<QAction*> actions = menu.actions();
        QMenu* sub = actions.value(subMenu) ? actions.value(subMenu)->menu() : nullptr;
        if (sub == nullptr)
            return -1;
        for (QAction* action : sub->actions())
            if (action->isChecked())
                return action->data().toInt();
        return 0;
    }

    int elevationCloses = 0;
    int intensityCloses = 0;
    int slopeCloses = 0;
    std::shared_ptr<ScriptedColorDialogs> m_colours;
    std::shared_ptr<ColorDialogService> m_previousColours;
};

TEST_F(StyleCommandsTest, ColourButtonsToggleTheirModeAndRecolourEveryPoint)
{
    struct Step {
        unsigned id;
        short mode;
    } steps[] = {{cmd::kPointHeight, 1}, {cmd::kPointHeight, 0}, {cmd::kPointRgb, 2},      {cmd::kPointMono, 3},
                 {cmd::kPointIntensity, 4}, {cmd::kPointGroup, 5}, {cmd::kPointGroup, 0}};
    const unsigned buttons[] = {cmd::kPointHeight, cmd::kPointRgb, cmd::kPointMono, cmd::kPointIntensity,
                                cmd::kPointGroup};
    for (const Step& s : steps) {
        View().BuffersState().recolourRequested = 0;
        Run(s.id);
        EXPECT_EQ(View().m_pointColourMode, s.mode) << s.id;
        EXPECT_EQ(View().BuffersState().recolourRequested.load(), 1) << s.id;
        for (short k = 0; k < 5; ++k)
            EXPECT_EQ(Ui(buttons[k]).checked, k + 1 == s.mode) << s.id;
    }
}

TEST_F(StyleCommandsTest, GroupColoursCloseTheIntensityLegendAndIntensityOffKeepsTheHeightLegend)
{
    View().Settings().tinPictureMode = 0;
    View().m_pointColourMode = 4;
    Run(cmd::kPointGroup);
    EXPECT_EQ(View().m_pointColourMode, 5);
    EXPECT_GE(intensityCloses, 1);
    EXPECT_GE(elevationCloses, 1);

    View().m_pointColourMode = 4;
    elevationCloses = 0;
    intensityCloses = 0;
    Run(cmd::kPointIntensity);   // intensity off
    EXPECT_EQ(View().m_pointColourMode, 0);
    EXPECT_EQ(elevationCloses, 0);
    EXPECT_GE(intensityCloses, 1);
}

TEST_F(StyleCommandsTest, EditColourDialogOpensAtTheCursorAndCancelChangesNothing)
{
    View().Settings().cadEditColour = 0x0000FF;
    m_colours->QueueAnswer(std::nullopt);
    View().ChooseCadEditColor();
    EXPECT_EQ(View().Settings().cadEditColour, 0x0000FFu);
    m_colours->QueueAnswer(0x123456);
    View().ChooseCadEditColor();
    EXPECT_EQ(View().Settings().cadEditColour, 0x123456u);
    const auto requests = m_colours->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].initial, 0x0000FFu);
    EXPECT_TRUE(requests[0].placement.atCursor);
    EXPECT_EQ(requests[0].placement.caption, "作図色選択");
    EXPECT_EQ(requests[0].placement.ownerRect.size(), View().size());
}

TEST_F(StyleCommandsTest, ElementColourGoesToTheSelectedFiguresOnlyAndSkipsStaleIndices)
{
    AddFigures(4, 0x111111);
    View().Settings().cadEditColour = 0x0000FF;
    View().BuffersState().selectedCadElements = {2, 0, 2, 9, -1};
    View().BuffersState().book.Kind(DrawableKind::CadFigure).releasePending = 0;
    m_colours->QueueAnswer(0x00AA00);
    View().ChooseElementColor();
    const COLORREF expected[] = {0x00AA00, 0x111111, 0x00AA00, 0x111111};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(ModelStoreFigures()[i].m_nColor, expected[i]) << i;
    EXPECT_EQ(View().Settings().cadEditColour, 0x0000FFu);
    EXPECT_EQ(View().BuffersState().book.Kind(DrawableKind::CadFigure).releasePending, 1);

    m_colours->QueueAnswer(std::nullopt);
    View().ChooseElementColor();
    EXPECT_EQ(ModelStoreFigures()[0].m_nColor, 0x00AA00u);
}

TEST_F(StyleCommandsTest, ContextMenuShowsTheCurrentSizesAndAppliesTheChoice)
{
    View().Settings().pointSizeIndex = 2;
    View().Settings().cadLineWidthIndex = 3;
    const short sizeIndex = View().GetPointSizeIndex();
    int pointChecked = -1, lineChecked = -1;
    View().m_contextMenuTracker = [&](QMenu& menu, QPoint) {
        pointChecked = CheckedIn(menu, 0);
        lineChecked = CheckedIn(menu, 2);
        return CModelViewerView::ContextMenuAnswer{32941, false, QPoint(10, 10)};
    };
    View().CModelViewerView::ShowContextMenu(QPoint(20, 20));
    EXPECT_EQ(pointChecked, sizeIndex >= 4 ? 32940 : 32940 + sizeIndex);
    EXPECT_EQ(lineChecked, 32974);
    EXPECT_EQ(View().Settings().pointSizeIndex, 1);
    EXPECT_FALSE(View().MenuDismissedByClick());

    View().m_contextMenuTracker = [](QMenu&, QPoint) {
        return CModelViewerView::ContextMenuAnswer{32975, false, QPoint(10, 10)};
    };
    View().CModelViewerView::ShowContextMenu(QPoint(20, 20));
    EXPECT_EQ(View().Settings().cadLineWidthIndex, 4);
}

TEST_F(StyleCommandsTest, ContextMenuDismissedByEscapeLeavesTheFlagClear)
{
    struct Case {
        bool escape;
        QPoint cursor;
        bool flag;
    } cases[] = {{true, {50, 50}, false}, {false, {50, 50}, true}, {false, {500, 50}, false}};
    for (const Case& c : cases) {
        View().m_contextMenuTracker = [&](QMenu&, QPoint) {
            return CModelViewerView::ContextMenuAnswer{0, c.escape, c.cursor};
        };
        View().CModelViewerView::ShowContextMenu(QPoint(20, 20));
        EXPECT_EQ(View().MenuDismissedByClick(), c.flag) << c.escape << " " << c.cursor.x();
    }
}

TEST_F(StyleCommandsTest, LegendRefreshRunsOnlyWhenDirty)
{
    View().Settings().tinPictureMode = 0;
    View().m_pointColourMode = 0;
    View().UpdateLegends();   // the first frame may have left it dirty
    elevationCloses = intensityCloses = slopeCloses = 0;
    View().UpdateLegends();
    EXPECT_EQ(elevationCloses + intensityCloses + slopeCloses, 0);
    View().InvalidateLegends();
    View().UpdateLegends();
    EXPECT_GE(elevationCloses, 1);
    EXPECT_GE(intensityCloses, 1);
    EXPECT_GE(slopeCloses, 1);
}

TEST_F(StyleCommandsTest, TinEditModesToggleAndPrepareThePicture)
{
    struct Case {
        unsigned id;
        std::uint8_t mode;
        const char* prompt;
        const char* offText;
    } cases[] = {
        {cmd::kTinFaceDelete, toolmode::kTinFaceDelete, "削除するTINの面をピックして下さい。",
         "点群の編集を行います。（Ctrl＋：解除選択  Shift＋:追加選択）"},
        {cmd::kTinVertexRemove, toolmode::kTinVertexEdit, "編集するTINの端点をクリックして下さい。",
         "点群の編集を行います。（Ctrl＋：解除選択  Shift＋:追加選択）"},
        {cmd::kTinEdgeSwap, toolmode::kTinEdgeSwap, "構成を変更するTINの線をピックして下さい。", ""},
    };
    for (const Case& c : cases) {
        View().SetToolMode(0);
        View().Settings().tinPictureMode = 0;
        View().Settings().tinEdgeSwitch = 0;
        View().Settings().tinPointSwitch = 0;
        const int resets = View().resetDragStates;
        Run(c.id);
        EXPECT_TRUE(Ui(c.id).checked) << c.id;
        EXPECT_EQ(View().LastStatusText(), c.prompt) << c.id;
        EXPECT_EQ(View().resetDragStates, resets + 1) << c.id;
        EXPECT_EQ(View().Settings().tinPictureMode, c.mode == toolmode::kTinFaceDelete ? 1 : 0) << c.id;
        EXPECT_EQ(View().Settings().tinEdgeSwitch, c.mode == toolmode::kTinFaceDelete ? 0 : 1) << c.id;
        EXPECT_EQ(View().Settings().tinPointSwitch, c.mode == toolmode::kTinVertexEdit ? 1 : 0) << c.id;
        EXPECT_EQ(View().cursor().shape(), Qt::BitmapCursor) << c.id;
        Run(c.id);
        EXPECT_FALSE(Ui(c.id).checked) << c.id;
        EXPECT_EQ(View().LastStatusText(), c.offText) << c.id;
        EXPECT_NE(View().cursor().shape(), Qt::BitmapCursor) << c.id;
    }
    // Another mode's button switches straight to its mode.
    Run(cmd::kTinFaceDelete);
    Run(cmd::kTinEdgeSwap);
    EXPECT_TRUE(Ui(cmd::kTinEdgeSwap).checked);
    EXPECT_FALSE(Ui(cmd::kTinFaceDelete).checked);
}

TEST_F(StyleCommandsTest, InformationBoxOnAnEmptySceneAndNotImplementedCommands)
{
    Boxes().QueueAnswer(tessara::IDOK);
    Run(32799);
    const auto shown = Boxes().ShownBoxes();
    ASSERT_EQ(shown.size(), 1u);
    const auto& info = shown[0];
    EXPECT_EQ(info.flags & tessara::MB_ICONMASK, tessara::MB_ICONINFORMATION);
    EXPECT_NE(info.text.find("点群ブロック数\t：0個"), std::string::npos) << info.text;
    EXPECT_NE(info.text.find("最小Z\t\t：  0.0000\n最大Z\t\t：  0.0000"), std::string::npos) << info.text;
    for (unsigned id : {32815u, 32816u}) {
        Boxes().QueueAnswer(tessara::IDOK);
        Run(id);
        const auto boxes = Boxes().ShownBoxes();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().text, "【未実装】\nこの機能はリリース版までに実装予定です");
        EXPECT_EQ(boxes.back().flags & tessara::MB_ICONMASK, tessara::MB_ICONWARNING);
    }
}

//! A group whose TIN is the square (0,0)-(2,2) cut by the diagonal 0-2, and a
//! second square around a centre vertex for the vertex removal.
CPCloudMng& AddTinGroup(CModelDataMng& store)
{
    auto group = std::make_unique<CPCloudMng>();
    for (auto [x, y] : {std::pair{0.0f, 0.0f}, {2.0f, 0.0f}, {2.0f, 2.0f}, {0.0f, 2.0f}})
        group->AddVertex(x, y, 5.0f);
    group->m_triangles.emplace_back(0u, 1u, 2u);
    group->m_triangles.emplace_back(0u, 2u, 3u);
    CPCloudMng& added = *group;
    store.AddGroup(std::move(group));
    return added;
}

bool HasEdge(const CVertexMng& tin, std::uint32_t a, std::uint32_t b)
{
    for (const auto& t : tin.m_triangles)
        for (int k = 0; k < 3; ++k)
            if ((t[k] == a && t[(k + 1) % 3] == b) || (t[k] == b && t[(k + 1) % 3] == a))
                return true;
    return false;
}

TEST_F(StyleCommandsTest, EdgeSwapClickFlipsTheHoveredEdgeWithAnUndoSnapshot)
{
    CPCloudMng& tin = AddTinGroup(View().ModelStore());
    ASSERT_TRUE(HasEdge(tin, 0, 2));
    View().SetToolMode(toolmode::kTinEdgeSwap);
    ViewPickState& pick = *View().BuffersState().pick;
    EXPECT_EQ(View().ApplyTinEdit(10, 10), 0);   // nothing hovered
    HoverPickCache::Edge edge;
    edge.kind = HoverPickCache::kKindGroup;
    edge.group = 0;
    edge.triangle = 0;
    edge.side = 2;   // corners 2 and 0
    edge.v1 = 0;
    edge.v2 = 2;
    pick.hoveredEdges = {edge};
    View().BuffersState().book.Kind(DrawableKind::GroupTinEdges).releasePending = 0;
    EXPECT_EQ(View().ApplyTinEdit(10, 10), 1);
    EXPECT_FALSE(HasEdge(tin, 0, 2));
    EXPECT_TRUE(HasEdge(tin, 1, 3));
    EXPECT_EQ(tin.m_triangles.size(), 2u);
    EXPECT_TRUE(pick.hoveredEdges.empty());
    EXPECT_TRUE(View().CanUndo());
    EXPECT_EQ(View().BuffersState().book.Kind(DrawableKind::GroupTinEdges).releasePending, 1);

    // A hovered edge of a group that is gone changes nothing.
    edge.group = 5;
    pick.hoveredEdges = {edge};
    EXPECT_EQ(View().ApplyTinEdit(10, 10), 0);
    EXPECT_TRUE(HasEdge(tin, 1, 3));
}

TEST_F(StyleCommandsTest, VertexClickRemovesTheHoveredVertexAndMeshesTheHole)
{
    auto group = std::make_unique<CPCloudMng>();
    for (auto [x, y] : {std::pair{0.0f, 0.0f}, {2.0f, 0.0f}, {2.0f, 2.0f}, {0.0f, 2.0f}, {1.0f, 1.0f}})
        group->AddVertex(x, y, 5.0f);
    for (std::uint32_t k = 0; k < 4; ++k)
        group->m_triangles.emplace_back(k, (k + 1) % 4, 4u);
    CPCloudMng& tin = *group;
    View().ModelStore().AddGroup(std::move(group));
    View().SetToolMode(toolmode::kTinVertexEdit);
    HoverPickCache::Vertex vertex;
    vertex.kind = HoverPickCache::kKindGroup;
    vertex.group = 0;
    vertex.index = 4;
    View().BuffersState().pick->hoveredVertex = vertex;
    EXPECT_EQ(View().ApplyTinEdit(10, 10), 1);
    EXPECT_EQ(tin.m_triangles.size(), 2u);
    for (const auto& t : tin.m_triangles)
        for (int k = 0; k < 3; ++k) {
            const auto& v = tin.m_vertices[t[k]];
            EXPECT_FALSE(v.x == 1.0f && v.y == 1.0f);
        }
    EXPECT_FALSE(View().BuffersState().pick->hoveredVertex.has_value());
    EXPECT_TRUE(View().CanUndo());

    // The face mode and no mode edit nothing through this hook.
    for (std::uint8_t mode : {toolmode::kTinFaceDelete, toolmode::kNone}) {
        View().SetToolMode(mode);
        View().BuffersState().pick->hoveredVertex = vertex;
        EXPECT_EQ(View().ApplyTinEdit(10, 10), 0) << int(mode);
    }
}

TEST_F(StyleCommandsTest, SettingsDialogAppliesOnOkAndUpdateButCancelKeepsTheView)
{
    auto script = std::make_shared<tessara::DialogScript>();
    const auto previous = tessara::SetDialogScript(script);
    View().Settings().background = 0;
    View().Settings().pointColour = 0x0000FF;

    script->Answer<CGlviewrVurDlg>([](CGlviewrVurDlg::Values& values) {
        values.settings.background = 1;
        return tessara::IDCANCEL;
    });
    View().BuffersState().recolourRequested = 0;
    Run(cmd::kFileSetting);
    EXPECT_EQ(View().Settings().background, 0);
    EXPECT_EQ(View().BuffersState().recolourRequested.load(), 0);

    struct Case {
        short background;
        COLORREF pointColour;
        int recoloured;
    } cases[] = {{1, 0x0000FF, 0}, {2, 0x00FF00, 1}, {0, 0x00FF00, 0}};
    for (const Case& c : cases) {
        script->Answer<CGlviewrVurDlg>([&](CGlviewrVurDlg::Values& values) {
            values.settings.background = c.background;
            values.settings.pointColour = c.pointColour;
            return tessara::IDOK;
        });
        View().BuffersState().recolourRequested = 0;
        Run(cmd::kFileSetting);
        EXPECT_EQ(View().Settings().background, c.background);
        EXPECT_EQ(View().Settings().pointColour, c.pointColour);
        EXPECT_EQ(View().BuffersState().recolourRequested.load(), c.recoloured) << c.background;
    }

    // "更新" applies at once, even when the dialog is then cancelled.
    script->Answer<CGlviewrVurDlg>([](CGlviewrVurDlg::Values& values) {
        ViewSettings changed = values.settings;
        changed.colourBrightness = 40;
        values.applyNow(changed);
        return tessara::IDCANCEL;
    });
    View().BuffersState().recolourRequested = 0;
    Run(cmd::kFileSetting);
    EXPECT_EQ(View().Settings().colourBrightness, 40);
    EXPECT_EQ(View().BuffersState().recolourRequested.load(), 1);
    tessara::SetDialogScript(previous);
}

TEST_F(StyleCommandsTest, ColourSettingDialogRecoloursOnlyOnOk)
{
    auto script = std::make_shared<tessara::DialogScript>();
    const auto previous = tessara::SetDialogScript(script);
    View().BuffersState().recolourRequested = 0;
    Run(cmd::kColorSetting);   // no answer: cancelled
    EXPECT_EQ(View().BuffersState().recolourRequested.load(), 0);
    script->AcceptAs<CColorSettingDlg>();
    Run(cmd::kColorSetting);
    EXPECT_EQ(View().BuffersState().recolourRequested.load(), 1);
    EXPECT_EQ(script->Dialogs().size(), 2u);
    tessara::SetDialogScript(previous);
}

TEST_F(StyleCommandsTest, WithoutTheGradientOnlyTheClearColourShows)
{
    View().Settings().background = 1;
    View().Settings().backgroundGradient = 0;
    View().InvalidateScene();
    const QImage flat = View().grabFramebuffer();
    ASSERT_FALSE(flat.isNull());
    const QColor top = flat.pixelColor(2, 2);
    const QColor bottom = flat.pixelColor(2, flat.height() - 3);
    EXPECT_EQ(top, bottom);
    EXPECT_NEAR(top.blue(), 120, 4);
    EXPECT_NEAR(top.green(), 54, 4);

    View().Settings().backgroundGradient = 1;
    View().InvalidateScene();
    const QImage shaded = View().grabFramebuffer();
    EXPECT_GT(shaded.pixelColor(2, 2).blue(), shaded.pixelColor(2, shaded.height() - 3).blue() + 40);
}

class PaneFrame : public FrameLink {
public:
    bool pane = false;
    void SetStatusText(const std::string&) override {}
    void UpdateProgress(unsigned, unsigned, int) override {}
    void EndProgress() override {}
    int AbortPromptOpen() const override { return 0; }
    int AbortRequested() const override { return 0; }
    int PollAbort() const override { return 0; }
    bool Closing() const override { return false; }
    bool GroupPaneVisible() const override { return pane; }
    void SetGroupPaneVisible(bool visible) override { pane = visible; }
};

TEST_F(StyleCommandsTest, GroupViewButtonTogglesTheGroupPane)
{
    Run(cmd::kGroupView);   // without a main frame nothing happens
    PaneFrame frame;
    FrameLink* previous = FrameLink::Main();
    FrameLink::SetMain(&frame);
    Run(cmd::kGroupView);
    EXPECT_TRUE(frame.pane);
    EXPECT_TRUE(Ui(cmd::kGroupView).checked);
    Run(cmd::kGroupView);
    EXPECT_FALSE(frame.pane);
    EXPECT_FALSE(Ui(cmd::kGroupView).checked);
    FrameLink::Leave(&frame);
    FrameLink::SetMain(previous);
}

} // namespace

#include "viewer/commands/SceneInfo.h"
#include "viewer/commands/StyleRules.h"
#include "viewer/dialogs/ColorDialogService.h"
#include "viewer/render/CModelViewerView.h"
#include "viewer/render/ViewSettings.h"

#include "outside/CModelDataMng.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using style::LegendAction;

TEST(StyleRulesTest, ColourButtonTogglesItsModeOrSwitchesToIt)
{
    struct Case {
        short current, pressed, next;
    } cases[] = {{0, 1, 1}, {1, 1, 0}, {1, 4, 4}, {4, 4, 0}, {5, 2, 2}, {3, 3, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(style::NextPointColourMode(c.current, c.pressed), c.next) << c.current << "/" << c.pressed;
}

TEST(StyleRulesTest, LegendsFollowTheNewColourMode)
{
    struct Case {
        short previous, next;
        int picture;
        LegendAction height, intensity;
    } cases[] = {
        {0, 1, 0, LegendAction::Update, LegendAction::Close},
        {1, 0, 0, LegendAction::Close, LegendAction::Close},
        {1, 0, 4, LegendAction::Update, LegendAction::Close},   // the TIN picture keeps the height legend
        {0, 4, 0, LegendAction::Close, LegendAction::Update},
        {4, 0, 0, LegendAction::Keep, LegendAction::Close},     // intensity off leaves the height legend
        {4, 5, 0, LegendAction::Close, LegendAction::Close},    // group colours close the intensity legend
        {2, 3, 4, LegendAction::Update, LegendAction::Close},
    };
    for (const Case& c : cases) {
        const auto legends = style::LegendsForColourMode(c.previous, c.next, c.picture);
        EXPECT_EQ(legends.height, c.height) << c.previous << "->" << c.next << " picture " << c.picture;
        EXPECT_EQ(legends.intensity, c.intensity) << c.previous << "->" << c.next << " picture " << c.picture;
    }
}

TEST(StyleRulesTest, MenuCheckMarksAndChoices)
{
    struct Check {
        short index;
        int pointItem, lineItem;
    } checks[] = {{0, 32940, 32971}, {3, 32943, 32974}, {4, 32940, 32975}, {7, 32940, 0}, {-1, 32940, 0}};
    for (const Check& c : checks) {
        EXPECT_EQ(style::CheckedPointSizeItem(c.index), c.pointItem) << c.index;
        EXPECT_EQ(style::CheckedLineWidthItem(c.index), c.lineItem) << c.index;
    }
    struct Choice {
        int command;
        bool applied;
        short pointSize, lineWidth;
    } choices[] = {{32940, true, 0, 2}, {32943, true, 3, 2}, {32971, true, 1, 0}, {32975, true, 1, 4},
                   {0, false, 1, 2},    {32944, false, 1, 2}, {32970, false, 1, 2}};
    for (const Choice& c : choices) {
        ViewSettings settings;
        settings.pointSizeIndex = 1;
        settings.cadLineWidthIndex = 2;
        EXPECT_EQ(style::ApplyMenuChoice(c.command, settings), c.applied) << c.command;
        EXPECT_EQ(settings.pointSizeIndex, c.pointSize) << c.command;
        EXPECT_EQ(settings.cadLineWidthIndex, c.lineWidth) << c.command;
    }
}

TEST(StyleRulesTest, MenuDismissedOnlyByAClickInsideWithoutEscape)
{
    struct Case {
        bool escape;
        QPoint cursor;
        bool dismissed;
    } cases[] = {{false, {1, 1}, true},   {false, {200, 150}, true}, {true, {50, 50}, false},
                 {false, {0, 50}, false}, {false, {201, 50}, false}, {false, {50, 151}, false}};
    for (const Case& c : cases)
        EXPECT_EQ(style::MenuDismissedByClick(c.escape, c.cursor, 200, 150), c.dismissed)
            << c.cursor.x() << "," << c.cursor.y() << " escape " << c.escape;
}

TEST(StyleRulesTest, CursorOfEachToolMode)
{
    const std::pair<int, int> cases[] = {{0, 0},      {1, 23001},  {2, 23002},  {3, 23003},  {4, 23004},
                                         {5, 23005},  {6, 23000},  {7, 0},      {8, 23005},  {9, 23005},
                                         {16, 23005}, {17, 23005}, {18, 23005}, {255, 0}};
    for (const auto& [mode, cursor] : cases)
        EXPECT_EQ(style::CursorResourceForMode(static_cast<std::uint8_t>(mode)), cursor) << mode;
}

TEST(StyleRulesTest, ColourDialogOpensBesideTheCursorInsideItsOwner)
{
    const QRect owner(100, 100, 800, 600);   // right edge 900, bottom 700
    const QSize dialog(400, 300);
    struct Case {
        QPoint cursor, topLeft;
    } cases[] = {
        {{150, 150}, {150, 150}},   // near the left and top: right of and below the cursor
        {{880, 650}, {480, 350}},   // near the right edge: left of the cursor, above it
        {{500, 650}, {300, 350}},   // in the middle: centred on the cursor
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColorDialogPlacement::AtCursor(dialog, owner, c.cursor), c.topLeft)
            << c.cursor.x() << "," << c.cursor.y();
}

TEST(StyleRulesTest, InformationTextOfAnEmptySceneAndOfHugeCounts)
{
    CModelDataMng store;
    SceneInfoText empty;
    empty.counts = CountSceneInfo(store);
    empty.minZ = 1e-16;
    empty.maxZ = 1e-16;
    EXPECT_EQ(FormatSceneInfo(empty),
              "Vendor\t\t：\nGPU\t\t：\nOpenGL\t\t：ver. \n\n点群ブロック数\t：0個\n点群総数\t\t：0個\n"
              "TIN\t\t：三角数（0個）\nCAD\t\t：図形数（0個）\n\n最小Z\t\t：  0.0000\n最大Z\t\t：  0.0000\n"
              "左下座標\t\t：X=  0.0000  Y=  0.0000");

    SceneInfoText huge;
    huge.vendor = "V";
    huge.counts = {3, 5'000'000'000LL, INT64_MAX, 2'147'483'648LL};
    huge.minZ = -12.5;
    huge.maxZ = 123456.78901;
    huge.lowerLeftX = -1.0;
    huge.lowerLeftY = 2.25;
    const std::string text = FormatSceneInfo(huge);
    EXPECT_NE(text.find("点群総数\t\t：5,000,000,000個"), std::string::npos) << text;
    EXPECT_NE(text.find("三角数（9,223,372,036,854,775,807個）"), std::string::npos) << text;
    EXPECT_NE(text.find("図形数（2,147,483,648個）"), std::string::npos) << text;
    EXPECT_NE(text.find("最小Z\t\t：-12.5000\n最大Z\t\t：123456.7890\n"), std::string::npos) << text;
    EXPECT_NE(text.find("X= -1.0000  Y=  2.2500"), std::string::npos) << text;
}

TEST(StyleRulesTest, InformationCountsCoverHiddenGroupsAndSkipEmptyOnes)
{
    CModelDataMng store;
    auto shown = std::make_unique<CPCloudMng>();
    shown->AddCloudPoint(0.0f, 0.0f, 1.0f, 0, 0.0);
    shown->AddCloudPoint(1.0f, 0.0f, 1.0f, 0, 0.0);
    auto hidden = std::make_unique<CPCloudMng>();
    hidden->AddCloudPoint(2.0f, 0.0f, 1.0f, 0, 0.0);
    hidden->m_nShowGroup = 0;
    store.AddGroup(std::move(shown));
    store.AddGroup(std::move(hidden));
    store.AddGroup(std::make_unique<CPCloudMng>());
    store.m_elmList.resize(4);
    const SceneInfoCounts counts = CountSceneInfo(store);
    EXPECT_EQ(counts.groups, 2);
    EXPECT_EQ(counts.points, 3);
    EXPECT_EQ(counts.triangles, 0);
    EXPECT_EQ(counts.figures, 4);
}

TEST(StyleRulesTest, BackgroundColourAndGradientOfEachStyle)
{
    struct Case {
        short style;
        QColor clear;
        std::array<float, 3> bottom, top;
    } cases[] = {
        {0, QColor(10, 15, 20), {0.04f, 0.06f, 0.08f}, {0.44f, 0.46f, 0.48f}},
        {1, QColor(10, 54, 120), {0.08f, 0.25f, 0.55f}, {0.6f, 0.8f, 0.9f}},
        {2, QColor(255, 255, 255), {0.44f, 0.46f, 0.48f}, {1.0f, 1.0f, 1.0f}},
        {-3, QColor(255, 255, 255), {0.44f, 0.46f, 0.48f}, {1.0f, 1.0f, 1.0f}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CModelViewerView::BackgroundColourOf(c.style), c.clear) << c.style;
        const auto gradient = CModelViewerView::BackgroundGradientOf(c.style);
        EXPECT_EQ(gradient.bottom, c.bottom) << c.style;
        EXPECT_EQ(gradient.top, c.top) << c.style;
    }
}

} // namespace

#include "CommandViewFixture.h"

#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/render/ViewConstants.h"

namespace {

using DisplayCommandsTest = CommandViewTest;

} // namespace

TEST_F(DisplayCommandsTest, SwitchesAndOverlaysFlipTheirSettingAndCheckMark)
{
    struct Case {
        unsigned id;
        int ViewSettings::*field;
    } cases[] = {
        {cmd::kSwitchCad, &ViewSettings::cadSwitch},     {cmd::kSwitchPart, &ViewSettings::partSwitch},
        {cmd::kSwitchTin, &ViewSettings::tinEdgeSwitch}, {cmd::kSwitchTinPoint, &ViewSettings::tinPointSwitch},
        {cmd::kSupportPaper, &ViewSettings::paper},      {cmd::kSupportMesh, &ViewSettings::grid},
        {cmd::kSupportAxis, &ViewSettings::axis},        {cmd::kSupportDirXyz, &ViewSettings::xyzMark},
        {cmd::kSupportDirNews, &ViewSettings::compassMark}, {cmd::kSupportSize, &ViewSettings::sizeCaption},
    };
    for (const Case& c : cases) {
        int& value = View().Settings().*c.field;
        value = 0;
        EXPECT_FALSE(Ui(c.id).checked) << c.id;
        Run(c.id);
        EXPECT_EQ(value, 1) << c.id;
        EXPECT_TRUE(Ui(c.id).checked) << c.id;
        Run(c.id);
        EXPECT_EQ(value, 0) << c.id;
    }
    // The depth button shows checked while the depth mode is 0.
    View().Settings().depthMode = 1;
    EXPECT_FALSE(Ui(cmd::kModeDepth).checked);
    Run(cmd::kModeDepth);
    EXPECT_EQ(View().Settings().depthMode, 0);
    EXPECT_TRUE(Ui(cmd::kModeDepth).checked);
}

TEST_F(DisplayCommandsTest, PictureButtonsSelectOneModeAndTheActiveOneTurnsThePictureOff)
{
    struct Step {
        unsigned id;
        int mode;
    } steps[] = {
        {cmd::kPictureColor, 1}, {cmd::kPictureTexture, 3}, {cmd::kPictureHighLow, 4},
        {cmd::kPictureIncline, 2}, {cmd::kPictureIncline, 0}, {cmd::kPictureHighLow, 4},
        {cmd::kPictureHighLow, 0}, {cmd::kPictureTexture, 3}, {cmd::kPictureTexture, 0},
    };
    const unsigned buttons[] = {cmd::kPictureColor, cmd::kPictureIncline, cmd::kPictureTexture, cmd::kPictureHighLow};
    const int buttonModes[] = {1, 2, 3, 4};
    for (const Step& s : steps) {
        Run(s.id);
        EXPECT_EQ(View().Settings().tinPictureMode, s.mode) << s.id;
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(Ui(buttons[b]).checked, buttonModes[b] == s.mode) << s.id << " button " << buttons[b];
    }
}

TEST_F(DisplayCommandsTest, ColourAndTextureMarkEveryTinFaceKindForRebuilding)
{
    RenderBook& book = View().BuffersState().book;
    for (DrawableKind kind : {DrawableKind::GroupTinFaces, DrawableKind::ChimneyTinFaces, DrawableKind::CadTinTextured})
        book.Kind(kind).releasePending = 0;
    View().Settings().tinPictureMode = 0;
    Run(cmd::kPictureTexture);
    for (DrawableKind kind : {DrawableKind::GroupTinFaces, DrawableKind::ChimneyTinFaces, DrawableKind::CadTinTextured})
        EXPECT_EQ(book.Kind(kind).releasePending, 1) << static_cast<int>(kind);
}

TEST_F(DisplayCommandsTest, CheckMarksFollowToolAndColourModes)
{
    struct Case {
        unsigned id;
        std::uint8_t toolMode;
    } tools[] = {
        {cmd::kCadSelect, 6},       {cmd::kCadEdit8, 8},         {cmd::kCadEdit9, 9},
        {cmd::kTinFaceDelete, 3},   {cmd::kTinVertexRemove, 1}, {cmd::kTinEdgeSwap, 2},
        {cmd::kToolDistance, 16},   {cmd::kToolSection, 18},    {cmd::kShowXyz, 17},
    };
    for (const Case& c : tools) {
        View().SetEditPolygon(0, 0);
        View().SetToolMode(c.toolMode);
        for (const Case& other : tools)
            EXPECT_EQ(Ui(other.id).checked, other.toolMode == c.toolMode) << c.id << " vs " << other.id;
        EXPECT_TRUE(Ui(c.id).enabled);
    }
    const unsigned colours[] = {cmd::kPointHeight, cmd::kPointRgb, cmd::kPointMono, cmd::kPointIntensity,
                                cmd::kPointGroup};
    for (short mode = 1; mode <= 5; ++mode) {
        View().m_pointColourMode = mode;
        for (short k = 0; k < 5; ++k)
            EXPECT_EQ(Ui(colours[k]).checked, k + 1 == mode) << mode;
    }
}

TEST_F(DisplayCommandsTest, CadSwitchOffEmptiesThePickedList)
{
    View().Settings().cadSwitch = 1;
    const int before = View().pickedListClears;
    Run(cmd::kSwitchCad);
    EXPECT_EQ(View().pickedListClears, before + 1);
    Run(cmd::kSwitchCad);
    EXPECT_EQ(View().pickedListClears, before + 1);
}

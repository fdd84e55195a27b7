#include "viewer/dialogs/CInOutXYZVurDlg.h"
#include "viewer/dialogs/ModelFileList.h"
#include "viewer/dialogs/TinOptionEnabling.h"
#include "viewer/dialogs/ViewSettingsForm.h"
#include "viewer/render/ViewSettings.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

ReductionModes ThreeModes()
{
    return ReductionModes{{"なし", "弱", "強"}, {0, 1, 3}};
}

struct IndexCase {
    const char* name;
    short stored;
    int shown;
    short recordAfterLoad;
};

class PointSizeLoad : public ::testing::TestWithParam<IndexCase> {};

TEST_P(PointSizeLoad, NormalisesAndNeverShowsAMissingItem)
{
    ViewSettings s;
    s.pointSizeIndex = GetParam().stored;
    const auto f = ViewSettingsForm::Load(s, ThreeModes());
    EXPECT_EQ(f.pointSize, GetParam().shown);
    EXPECT_EQ(s.pointSizeIndex, GetParam().recordAfterLoad);
    f.WriteBack(s, ThreeModes());
    EXPECT_EQ(s.pointSizeIndex, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, PointSizeLoad,
                         ::testing::Values(IndexCase{"seven", 7, 2, 2}, IndexCase{"twelve", 12, 0, 0},
                                           IndexCase{"minus_one", -1, 0, -1}, IndexCase{"four", 4, 4, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ViewSettingsForm, IndexesWithoutAnItemShowTheDefaultAndWriteItBack)
{
    ViewSettings s;
    s.pointDisplayType = 30;
    s.cadLineWidthIndex = -3;
    s.projection = 9;
    s.materialIndex = 25;
    s.background = 7;
    s.tinOption.m_nPolyRdcsplMode = 42;
    const auto modes = ThreeModes();
    const auto f = ViewSettingsForm::Load(s, modes);
    EXPECT_EQ(f.displayType, 0);
    EXPECT_EQ(f.cadLineWidth, 0);
    EXPECT_EQ(f.projection, 0);
    EXPECT_EQ(f.material, 0);
    EXPECT_EQ(f.background, 2);  // drawn white, so "白色" is checked
    EXPECT_EQ(f.reduceItem, 0);
    f.WriteBack(s, modes);
    EXPECT_EQ(s.pointDisplayType, 0);
    EXPECT_EQ(s.background, 2);
    EXPECT_EQ(s.tinOption.m_nPolyRdcsplMode, 0);
    EXPECT_EQ(modes.LevelOf(-1), 3);
}

TEST(ViewSettingsForm, HiddenControlsPassTheirSettingsThrough)
{
    ViewSettings s;
    s.tinOption.m_nPolyRdcsplMode = 3;
    s.tinOption.m_nConsiderBreakLineSw = 1;
    s.tinOption.m_nRemoveExcessiveTriangleSw = 1;
    s.tinOption.m_dExcessiveTriangleLength = 12.3456;
    s.splitBreakLines = 0;
    s.splitPitchM = 1.25;
    s.flattenParallelBreakLines = 1;
    s.parallelDistanceM = 7.5;
    s.materialToBackground = 1;
    s.drawHostCad = 1;
    s.drawHostPart = 1;
    s.pickMode = 3;
    s.tinPointLimit = 80;
    s.windowAlignment = 0;
    s.depthMode = 0;
    s.mouseType = 0;
    s.colourBrightness = -30;
    ViewSettings out = ViewSettings{};
    ViewSettingsForm::Load(s, ThreeModes()).WriteBack(out, ThreeModes());
    EXPECT_EQ(out.tinOption, s.tinOption);
    EXPECT_EQ(out.splitBreakLines, 0);
    EXPECT_EQ(out.splitPitchM, 1.25);
    EXPECT_EQ(out.flattenParallelBreakLines, 1);
    EXPECT_EQ(out.parallelDistanceM, 7.5);
    EXPECT_EQ(out.materialToBackground, 1);
    EXPECT_EQ(out.drawHostCad, 1);
    EXPECT_EQ(out.drawHostPart, 1);
    EXPECT_EQ(out.pickMode, 3);
    EXPECT_EQ(out.tinPointLimit, 80);
    EXPECT_EQ(out.windowAlignment, 0);
    EXPECT_EQ(out.depthMode, 0);
    EXPECT_EQ(out.mouseType, 0);
    EXPECT_EQ(out.colourBrightness, -30);

    // A placement value neither radio shows stays as it was.
    s.windowAlignment = 5;
    out.windowAlignment = 5;
    ViewSettingsForm::Load(s, ThreeModes()).WriteBack(out, ThreeModes());
    EXPECT_EQ(out.windowAlignment, 5);
}

TEST(ViewSettingsForm, DefaultsKeepSwitchesTogglesAndTheGradationStore)
{
    ViewSettings s;
    s.cadSwitch = 1;
    s.tinPictureMode = 4;
    s.grid = 0;
    s.sizeCaption = 0;
    s.pointSizeIndex = 3;
    s.radiusM = 5.0;
    s.tinOption.m_nConsiderBreakLineSw = 1;
    s.gradation.AddSetting("mine", *s.gradation.GetCurColorConf());
    const auto settingsBefore = s.gradation.m_settings.size();
    ViewSettingsForm::ResetToDefaults(s);
    EXPECT_EQ(s.cadSwitch, 1);
    EXPECT_EQ(s.tinPictureMode, 4);
    EXPECT_EQ(s.grid, 0);
    EXPECT_EQ(s.sizeCaption, 0);
    EXPECT_EQ(s.pointSizeIndex, 0);
    EXPECT_EQ(s.radiusM, 0.8);
    EXPECT_EQ(s.tinOption, XTinOption{});
    EXPECT_EQ(s.gradation.m_settings.size(), settingsBefore);
}

TEST(ViewSettingsForm, BrightnessLabels)
{
    EXPECT_EQ(ViewSettingsForm::BrightnessLabel(25), "+25");
    EXPECT_EQ(ViewSettingsForm::BrightnessLabel(1), "+1");
    EXPECT_EQ(ViewSettingsForm::BrightnessLabel(0), "0");
    EXPECT_EQ(ViewSettingsForm::BrightnessLabel(-1), "-1");
    EXPECT_EQ(ViewSettingsForm::BrightnessLabel(-30), "-30");
}

struct EnablingCase {
    const char* name;
    bool consider, remove, split, flat;
    TinOptionEnabling expected;
};

class TinEnabling : public ::testing::TestWithParam<EnablingCase> {};

TEST_P(TinEnabling, FollowsTheSwitches)
{
    const auto& c = GetParam();
    EXPECT_EQ(TinOptionEnabling::Of(c.consider, c.remove, c.split, c.flat), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TinEnabling,
    ::testing::Values(EnablingCase{"all_off", false, false, true, true, {false, false, false, false, false}},
                      EnablingCase{"consider_only", true, false, false, false, {true, true, false, false, false}},
                      EnablingCase{"consider_split", true, false, true, false, {true, true, false, true, false}},
                      EnablingCase{"consider_flat", true, false, false, true, {true, true, false, false, true}},
                      EnablingCase{"remove_only", false, true, true, true, {false, false, true, false, false}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModelFileList, ListsFilesOfTheExtensionInAnyCaseButNoFolders)
{
    const auto folder = std::filesystem::path(::testing::TempDir()) / "model-file-list";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "b.tpf");
    std::ofstream(folder / "a.tpf") << "x";
    std::ofstream(folder / "A.TPF") << "x";
    std::ofstream(folder / "c.las") << "x";
    const auto entries = ModelFileList::List(folder.string() + "/", "tpf");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].title, "A");
    EXPECT_EQ(entries[1].title, "a");
    EXPECT_FALSE(entries[0].timeText.empty());
    EXPECT_TRUE(ModelFileList::List((folder / "missing").string(), "tpf").empty());
    EXPECT_EQ(ModelFileList::ResultPath(folder.string() + "/", "a", "tpf"), folder.string() + "/a.tpf");
    EXPECT_EQ(ModelFileList::ResultPath("/work", "a", "tpf"), "/work/a.tpf");
    EXPECT_EQ(ModelFileList::ResultPath("/work/", "", "tpf"), std::nullopt);
    EXPECT_EQ(ModelFileList::TimeText({}), "");
    const QDateTime local(QDate(2026, 12, 11), QTime(10, 40));
    const std::chrono::system_clock::time_point written{std::chrono::milliseconds(local.toMSecsSinceEpoch())};
    EXPECT_EQ(ModelFileList::TimeText(written), "2026年12月11日金曜日 10:40");
    std::filesystem::remove_all(folder);
}

TEST(InOutXyz, ScaleIndexesAndFactors)
{
    EXPECT_EQ(CInOutXYZVurDlg::ShownScaleIndex(3), 3);
    EXPECT_EQ(CInOutXYZVurDlg::ShownScaleIndex(7), 0);
    EXPECT_EQ(CInOutXYZVurDlg::ShownScaleIndex(-1), 0);
    EXPECT_EQ(CInOutXYZVurDlg::ScaleFactor(3), 0.1);
    EXPECT_EQ(CInOutXYZVurDlg::ScaleFactor(4), 0.01);
    EXPECT_EQ(CInOutXYZVurDlg::ScaleFactor(9), 1.0);
}

} // namespace

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

#include "platform/MemoryProfile.h"
#include "viewer/render/ViewSettings.h"
#include "viewer/render/ViewSettingsStore.h"

namespace {

constexpr const char* kSection = "SectionGlView";

constexpr COLORREF Rgb(unsigned r, unsigned g, unsigned b)
{
    return r | (g << 8) | (b << 16);
}

struct Loaded {
    ViewSettings settings;
    short pointColourMode = 0;
    int newGroup = 0;
};

Loaded LoadFrom(tessara::MemoryProfile& profile)
{
    Loaded loaded;
    ViewSettingsStore::Load(profile, loaded.settings, loaded.pointColourMode, loaded.newGroup);
    return loaded;
}

TEST(ViewSettingsStoreTest, EmptyProfileGivesTheDesignedDefaultsWithTheOlderPointColour)
{
    tessara::MemoryProfile profile;
    const Loaded loaded = LoadFrom(profile);
    const ViewSettings& s = loaded.settings;
    EXPECT_EQ(s.tinOption.m_nPolyRdcsplMode, 1);
    EXPECT_EQ(s.tinOption.m_dExcessiveTriangleLength, 100.0);
    EXPECT_EQ(s.paper, 1);
    EXPECT_EQ(s.grid, 1);
    EXPECT_EQ(s.projection, 0);
    EXPECT_EQ(s.mouseType, 1);
    EXPECT_EQ(s.depthMode, 1);
    EXPECT_EQ(s.background, 0);
    EXPECT_EQ(s.backgroundGradient, 1);
    EXPECT_EQ(s.tinPointLimit, 50);
    EXPECT_EQ(s.lasSizeLimitMb, 200);
    EXPECT_EQ(s.lasCountLimit, 100);
    EXPECT_EQ(s.cadEditColour, Rgb(0, 0, 255));
    EXPECT_EQ(s.customColours[15], Rgb(255, 255, 255));
    EXPECT_EQ(s.gridCellM[2], 0.5);
    EXPECT_EQ(s.sectionPointSpacingM, 0.3);
    // The first run takes the older key's default colour, not the record's red.
    EXPECT_EQ(s.pointColour, Rgb(150, 0, 0));
    EXPECT_EQ(loaded.pointColourMode, 0);
}

struct LegacyColourCase {
    const char* name;
    int legacy;
    COLORREF expected;
};

class LegacyPointColourTest : public ::testing::TestWithParam<LegacyColourCase> {};

TEST_P(LegacyPointColourTest, OlderIndexGivesTheColourAndIsWrittenAsTheNewKey)
{
    tessara::MemoryProfile profile;
    profile.WriteProfileInt(kSection, "ViewPointColor", GetParam().legacy);
    Loaded loaded = LoadFrom(profile);
    EXPECT_EQ(loaded.settings.pointColour, GetParam().expected);
    ViewSettingsStore::Save(profile, loaded.settings, loaded.pointColourMode, loaded.newGroup);
    EXPECT_EQ(profile.GetProfileInt(kSection, "ViewPointCol", -1), static_cast<int>(GetParam().expected));
    EXPECT_EQ(profile.GetProfileInt(kSection, "ViewPointColor", -1), GetParam().legacy);
}

INSTANTIATE_TEST_SUITE_P(Cases, LegacyPointColourTest,
                         ::testing::Values(LegacyColourCase{"dark_red", 0, Rgb(150, 0, 0)},
                                           LegacyColourCase{"teal", 1, Rgb(0, 150, 150)},
                                           LegacyColourCase{"green", 2, Rgb(0, 150, 0)},
                                           LegacyColourCase{"other_grey", 9, Rgb(102, 100, 100)},
                                           LegacyColourCase{"negative_grey", -1, Rgb(102, 100, 100)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ViewSettingsStoreTest, NewerColourKeyWinsOverTheOlderOne)
{
    tessara::MemoryProfile profile;
    profile.WriteProfileInt(kSection, "ViewPointColor", 2);
    profile.WriteProfileInt(kSection, "ViewPointCol", static_cast<int>(Rgb(1, 2, 3)));
    EXPECT_EQ(LoadFrom(profile).settings.pointColour, Rgb(1, 2, 3));
}

TEST(ViewSettingsStoreTest, SmallDoublesSurviveSaveAndLoadExactly)
{
    tessara::MemoryProfile profile;
    Loaded loaded = LoadFrom(profile);
    loaded.settings.elevationBound1 = 1e-7;
    loaded.settings.elevationBound2 = 0.1 + 0.2;
    loaded.settings.splitPitchM = 1.0 / 3.0;
    ViewSettingsStore::Save(profile, loaded.settings, 0, 0);
    const Loaded again = LoadFrom(profile);
    EXPECT_EQ(again.settings.elevationBound1, 1e-7);
    EXPECT_EQ(again.settings.elevationBound2, 0.1 + 0.2);
    EXPECT_EQ(again.settings.splitPitchM, 1.0 / 3.0);
}

TEST(ViewSettingsStoreTest, SixDecimalTextOfOlderFilesReads)
{
    tessara::MemoryProfile profile;
    profile.WriteProfileString(kSection, "psKeySplitPitch", "0.500000");
    profile.WriteProfileString(kSection, "psKeyGlViewDeleteHightValue2", "-12.250000");
    const Loaded loaded = LoadFrom(profile);
    EXPECT_EQ(loaded.settings.splitPitchM, 0.5);
    EXPECT_EQ(loaded.settings.elevationBound2, -12.25);
}

// A decimal comma in the process locale must change neither what is written nor
// what is read.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(ViewSettingsStoreTest, DecimalCommaLocaleChangesNothing)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    const std::string previousC = std::setlocale(LC_NUMERIC, nullptr);
    const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    tessara::MemoryProfile profile;
    profile.WriteProfileString(kSection, "psKeyOfset", "0.25");
    Loaded loaded = LoadFrom(profile);
    loaded.settings.radiusM = 2.5;
    ViewSettingsStore::Save(profile, loaded.settings, 0, 0);
    const std::string written = profile.GetProfileString(kSection, "psKeyGlViewSampleVur_radius");
    const Loaded again = LoadFrom(profile);
    std::setlocale(LC_NUMERIC, previousC.c_str());
    std::locale::global(previous);
    EXPECT_EQ(loaded.settings.sectionDirectionToleranceM, 0.25);
    EXPECT_EQ(written, "2.5");
    EXPECT_EQ(again.settings.radiusM, 2.5);
    if (!german) GTEST_LOG_(INFO) << "de_DE.UTF-8 is not installed; checked with a decimal-comma C++ locale only";
}

struct BadValueCase {
    const char* name;
    const char* key;
    const char* text;   // stored as text; ints read it as an integer when they can
};

class BadValueTest : public ::testing::TestWithParam<BadValueCase> {};

TEST_P(BadValueTest, GivesTheDefault)
{
    tessara::MemoryProfile defaults;
    const Loaded expected = LoadFrom(defaults);
    tessara::MemoryProfile profile;
    profile.WriteProfileString(kSection, GetParam().key, GetParam().text);
    const Loaded loaded = LoadFrom(profile);
    const ViewSettings& s = loaded.settings;
    const ViewSettings& d = expected.settings;
    EXPECT_EQ(s.materialIndex, d.materialIndex);
    EXPECT_EQ(s.pointSizeIndex, d.pointSizeIndex);
    EXPECT_EQ(s.pickMode, d.pickMode);
    EXPECT_EQ(s.colourBrightness, d.colourBrightness);
    EXPECT_EQ(s.tinPointLimit, d.tinPointLimit);
    EXPECT_EQ(s.gridCellM, d.gridCellM);
    EXPECT_EQ(s.radiusM, d.radiusM);
    EXPECT_EQ(s.splitPitchM, d.splitPitchM);
    EXPECT_EQ(s.parallelDistanceM, d.parallelDistanceM);
    EXPECT_EQ(s.neighbourCount, d.neighbourCount);
    EXPECT_EQ(s.minimumPoints, d.minimumPoints);
    EXPECT_EQ(s.lasSizeLimitMb, d.lasSizeLimitMb);
    EXPECT_EQ(s.tinOption.m_dExcessiveTriangleLength, d.tinOption.m_dExcessiveTriangleLength);
    EXPECT_EQ(s.elevationBound1, d.elevationBound1);
    EXPECT_EQ(s.mouseType, d.mouseType);
    EXPECT_EQ(loaded.pointColourMode, expected.pointColourMode);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadValueTest,
    ::testing::Values(BadValueCase{"material_above_24", "FaceMsIndex", "25"},
                      BadValueCase{"material_negative", "FaceMsIndex", "-1"},
                      BadValueCase{"point_size_12", "ViewPointSize", "12"},
                      BadValueCase{"point_size_negative", "ViewPointSize", "-1"},
                      BadValueCase{"pick_mode_9", "Viewpickmode", "9"},
                      BadValueCase{"colour_mode_6", "psKeyGlViewPointRenderMode", "6"},
                      BadValueCase{"brightness_101", "ViewColorBright", "101"},
                      BadValueCase{"tin_limit_0", "psDrawmaxTinMakePsize", "0"},
                      BadValueCase{"tin_limit_101", "psDrawmaxTinMakePsize", "101"},
                      BadValueCase{"cell_zero", "psKeyGlViewSampleVur_lz", "0"},
                      BadValueCase{"cell_negative", "psKeyGlViewSampleVur_lx", "-0.5"},
                      BadValueCase{"cell_nan", "psKeyGlViewSampleVur_ly", "nan"},
                      BadValueCase{"radius_inf", "psKeyGlViewSampleVur_radius", "inf"},
                      BadValueCase{"radius_words", "psKeyGlViewSampleVur_radius", "abc"},
                      BadValueCase{"pitch_zero", "psKeySplitPitch", "0.000000"},
                      BadValueCase{"range_negative", "psKeyFlatRange", "-35"},
                      BadValueCase{"neighbours_zero", "psKeyGlViewSampleVur_nr_k", "0"},
                      BadValueCase{"min_points_negative", "psKeyGlViewSampleVur_min_pts", "-2"},
                      BadValueCase{"las_size_zero", "psKeyLimiFileSize", "0"},
                      BadValueCase{"edge_length_words", "DrawTinOpExcTrilen", "long"},
                      BadValueCase{"bound_nan", "psKeyGlViewDeleteHightValue1", "nan"},
                      BadValueCase{"mouse_type_2", "psKeyGlViewMouseDrag", "2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ViewSettingsStoreTest, PointSizeTakesAllFiveSizesAndTheOlderFivePlusForm)
{
    tessara::MemoryProfile profile;
    for (const auto& [stored, read] : {std::pair{4, 4}, {0, 0}, {7, 2}, {9, 4}}) {
        profile.WriteProfileInt(kSection, "ViewPointSize", stored);
        EXPECT_EQ(LoadFrom(profile).settings.pointSizeIndex, read) << stored;
    }
}

TEST(ViewSettingsStoreTest, BackgroundAndProjectionOutsideTheirNamesAreKept)
{
    tessara::MemoryProfile profile;
    profile.WriteProfileInt(kSection, "psKeyBackColor", 7);
    profile.WriteProfileInt(kSection, "ViewPectiveEx", 4);
    Loaded loaded = LoadFrom(profile);
    EXPECT_EQ(loaded.settings.background, 7);
    EXPECT_EQ(loaded.settings.projection, 4);
    ViewSettingsStore::Save(profile, loaded.settings, 0, 0);
    EXPECT_EQ(profile.GetProfileInt(kSection, "psKeyBackColor", -1), 7);
    EXPECT_EQ(profile.GetProfileInt(kSection, "ViewPectiveEx", -1), 4);
}

TEST(ViewSettingsStoreTest, SaveWritesEveryKeyAndLoadReadsItBack)
{
    tessara::MemoryProfile profile;
    Loaded loaded = LoadFrom(profile);
    loaded.settings.materialIndex = 24;
    loaded.settings.colourBrightness = -100;
    loaded.settings.customColours[7] = Rgb(7, 8, 9);
    loaded.settings.imageDotSize = 5;
    loaded.settings.tinOption.m_nConsiderBreakLineSw = 1;
    ViewSettingsStore::Save(profile, loaded.settings, 4, 1);
    const Loaded again = LoadFrom(profile);
    EXPECT_EQ(again.settings.materialIndex, 24);
    EXPECT_EQ(again.settings.colourBrightness, -100);
    EXPECT_EQ(again.settings.customColours[7], Rgb(7, 8, 9));
    EXPECT_EQ(again.settings.imageDotSize, 5);
    EXPECT_EQ(again.settings.tinOption.m_nConsiderBreakLineSw, 1);
    EXPECT_EQ(again.pointColourMode, 4);
    EXPECT_EQ(again.newGroup, 1);
    EXPECT_FALSE(profile.Contains(kSection, "ViewPointColor"));
}

}  // namespace

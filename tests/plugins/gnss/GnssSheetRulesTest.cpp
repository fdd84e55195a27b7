#include "plugins/gnss/GnssDialogLayout.h"
#include "plugins/gnss/GnssSheetRules.h"

#include <gtest/gtest.h>

namespace mod04827 {
namespace {

TEST(GnssSheetRules, HeaderOffersListsOnlyForScopeAndVerdict)
{
    for (int k = 0; k < 16; ++k) {
        const bool expected = k == 6 || k == 7;
        EXPECT_EQ(IsListCell(kPageHeader, TextCellCode(k)), expected) << k;
    }
    EXPECT_EQ(ListKeyOf(kPageHeader, 0x6FFF0D0C, SurveyVariant::Control), "適用範囲");
    EXPECT_EQ(ListKeyOf(kPageHeader, 0x7FFF0D0C, SurveyVariant::Elevation4), "標高:評価結果");
}

TEST(GnssSheetRules, FiftyTwoListKeysPerVariant)
{
    int count = 0;
    for (short page : {kPageHeader, kPageCompleteness, kPageLogical, kPagePositional, kPageTemporal, kPageThematic}) {
        for (int k = 0; k < 16; ++k) {
            if (IsListCell(page, TextCellCode(k))) ++count;
        }
    }
    EXPECT_EQ(count, 52);
    EXPECT_EQ(ListKeyOf(kPagePositional, 0x0FFF0D0C, SurveyVariant::Levelling), "水準:位置総括");
    EXPECT_EQ(ListKeyOf(kPageLogical, 0xCFFF0D0C, SurveyVariant::Control), "論理位相結果");
    EXPECT_EQ(ListKeyOf(kPageTemporal, 0x1FFF0D0C, SurveyVariant::Elevation3), "標高:時間測定要求");
    EXPECT_FALSE(IsListCell(kPageSurveyKind, 0x0FFF0D0C));
    EXPECT_FALSE(IsListCell(kPagePositional, SwitchCellCode(0)));
}

TEST(GnssSheetRules, PositionalPageLocksFollowTheirSwitch)
{
    const std::optional<std::array<short, 5>> automatic = std::array<short, 5>{0, 0, 0, 0, 0};
    const std::optional<std::array<short, 5>> thirdManual = std::array<short, 5>{0, 0, 1, 0, 0};
    EXPECT_TRUE(IsCellLocked(kPagePositional, 0x3FFF0D0C, automatic));
    EXPECT_FALSE(IsCellLocked(kPagePositional, 0x3FFF0D0C, thirdManual));
    EXPECT_TRUE(IsCellLocked(kPagePositional, 0x6FFF0D0C, thirdManual));
    EXPECT_FALSE(IsCellLocked(kPagePositional, 0x2FFF0D0C, automatic));   // 個位置絶対方法
    EXPECT_FALSE(IsCellLocked(kPagePositional, 0x3FFF0D0C, std::nullopt));   // F03 unreadable
    EXPECT_FALSE(IsCellLocked(kPageHeader, 0x0FFF0D0C, automatic));
    EXPECT_TRUE(IsSwitchCell(kPagePositional, 0x31C4046E));
    EXPECT_FALSE(IsSwitchCell(kPagePositional, 0x21C4046E));
}

struct VariantCase {
    int kind;
    int header;
    int firstPage;
};
class VariantSheets : public ::testing::TestWithParam<VariantCase> {};
TEST_P(VariantSheets, KindPicksHeaderAndPages)
{
    const SurveyVariant v = VariantOfKind(GetParam().kind);
    EXPECT_EQ(HeaderSheetOf(v), GetParam().header);
    EXPECT_EQ(PageSheetOf(v, 0), GetParam().firstPage);
    EXPECT_EQ(PageSheetOf(v, 4), GetParam().firstPage + 4);
    EXPECT_EQ(PageSheetOf(v, 5), -1);
}
INSTANTIATE_TEST_SUITE_P(Cases, VariantSheets, ::testing::Values(
    VariantCase{0, 1, 3}, VariantCase{1, 8, 9}, VariantCase{2, 15, 16}, VariantCase{3, 21, 22},
    VariantCase{4, 1, 3}));

TEST(GnssDialogLayout, PlacesAndTemplates)
{
    EXPECT_EQ(FindSheetPlace(0), nullptr);
    EXPECT_EQ(FindSheetPlace(2), nullptr);
    EXPECT_EQ(FindSheetPlace(kSurveyKindSheet)->controlId, 9009);
    EXPECT_EQ(FindSheetPlace(22)->templateName, "tab04827_9.vst");
    EXPECT_EQ(FindSheetPlace(22)->sheetNumber, 22);
    EXPECT_EQ(FindSheetPlace(5)->pageType, kPagePositional);
    EXPECT_EQ(KindFromConditions(false, true, true), 2);
    EXPECT_EQ(KindFromConditions(false, false, false), 0);
}

}  // namespace
}  // namespace mod04827

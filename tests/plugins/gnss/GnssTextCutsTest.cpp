#include "plugins/gnss/GnssFormFields.h"
#include "plugins/gnss/SplitText.h"

#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace mod04827 {
namespace {

std::size_t CpLen(const std::string& s)
{
    return tessara::Cp932Length(s);
}

TEST(SplitText, TwoHundredBytesGiveThreeLines)
{
    const auto lines = CutFormLines(std::string(200, 'a'), 78, 78, 6);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 78u);
    EXPECT_EQ(lines[1].size(), 78u);
    EXPECT_EQ(lines[2].size(), 44u);
}

TEST(SplitText, CutInsideADoubleByteCharacterMovesItWhole)
{
    // 77 single bytes, then "表" (0x95 0x5C): its trail byte lies in the ASCII range,
    // and "ソ" (0x83 0x5C) likewise; a cut at 78 would split the first one.
    std::string text = std::string(77, 'a') + "表ソ";
    std::string tail;
    ASSERT_TRUE(SplitText(text, tail, 78));
    EXPECT_EQ(text, std::string(77, 'a'));
    EXPECT_EQ(tail, "表ソ");
}

TEST(SplitText, TrailBytesInTheLeadRangeDoNotConfuseTheCut)
{
    // "ア" is 0x83 0x41 and "ン" 0x83 0x93: scanning backwards from the cut would
    // read 0x93 as a lead byte. 39 characters fill 78 bytes exactly.
    std::string text;
    for (int i = 0; i < 40; ++i) text += "ン";
    std::string tail;
    ASSERT_TRUE(SplitText(text, tail, 78));
    EXPECT_EQ(CpLen(text), 78u);
    EXPECT_EQ(tail, "ン");
}

TEST(SplitText, FittingTextIsNotCut)
{
    std::string text(78, 'x');
    std::string tail = "unchanged";
    EXPECT_FALSE(SplitText(text, tail, 78));
    EXPECT_EQ(tail, "unchanged");
}

struct ZoneCase {
    int zone;
    const char* text;
};
class ZoneField : public ::testing::TestWithParam<ZoneCase> {};
TEST_P(ZoneField, NamesZonesOneToNineteen)
{
    EXPECT_EQ(ZoneFieldText(GetParam().zone), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Cases, ZoneField, ::testing::Values(
    ZoneCase{0, ""}, ZoneCase{9, "平面直角座標系 Ⅸ系"}, ZoneCase{19, "平面直角座標系 ⅩⅨ系"}, ZoneCase{20, ""}));

TEST(GnssFormFields, ManualTextsAreCutIntoTheirFields)
{
    GnssTableSet set;
    set.SetSwitch(1, 1);
    set.SetText(GnssRecord::F03, 0, std::string(200, 'r'));
    set.SetSwitch(5, 0);
    GnssTexts texts;
    texts.requirements = {"ignored"};
    texts.relativeResults = {"r1", "r2", "r3", "r4", "r5", "r6"};
    const auto fields = GnssFormFields(set, texts);
    std::map<int, std::string> byField;
    for (const auto& [n, text] : fields) byField[n] = text;
    EXPECT_EQ(byField[23].size(), 78u);
    EXPECT_EQ(byField[27].size(), 78u);
    EXPECT_EQ(byField[70].size(), 44u);
    EXPECT_EQ(byField.count(71), 0u);
    EXPECT_EQ(byField[66], "r1");
    EXPECT_EQ(byField[93], "r5");   // the sixth entry has no field
    EXPECT_EQ(byField[5], "");      // zone 0
}

}  // namespace
}  // namespace mod04827

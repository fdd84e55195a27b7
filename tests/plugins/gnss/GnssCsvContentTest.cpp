#include "plugins/gnss/GnssCsvContent.h"

#include <gtest/gtest.h>

namespace mod04827 {
namespace {

TEST(GnssCsvContent, ElementsInTypeCodeOrderWithUnits)
{
    GnssTableSet set;
    const GnssCsvContent csv = BuildGnssCsvContent(set, {});
    ASSERT_EQ(csv.elements.size(), 15u);
    const char* codes[] = {"001", "002", "005", "003", "004", "006", "007", "009",
                           "008", "010", "011", "012", "013", "014", "015"};
    for (std::size_t i = 0; i < 15; ++i) EXPECT_EQ(csv.elements[i].values[1], codes[i]) << i;
    EXPECT_EQ(csv.elements[6].values[3], "centimeter");
    EXPECT_EQ(csv.elements[7].values[4], "長さ");
    EXPECT_EQ(csv.elements[8].values[3], "");
    EXPECT_EQ(csv.elements[8].values[4], "");
    EXPECT_EQ(csv.elements[0].values[3], "percent");
    EXPECT_EQ(csv.elements[14].values[5], "全数検査");
}

TEST(GnssCsvContent, GeneratedValuesOnlyWhereTheSwitchIsAutomatic)
{
    GnssTableSet set;
    set.SetText(GnssRecord::F03, 3, "user absolute result");
    set.SetText(GnssRecord::F03, 6, "user relative result");
    GnssTexts texts;
    texts.absoluteResult = "水平位置の標準偏差1.3cm、\r\n標高の標準偏差1.1cm";
    texts.relativeResults = {"a\r\nb", "c", "d\r\n"};
    GnssCsvContent csv = BuildGnssCsvContent(set, texts);
    EXPECT_EQ(csv.elements[6].values[6], "水平位置の標準偏差1.3cm、標高の標準偏差1.1cm");
    EXPECT_EQ(csv.elements[7].values[6], "ab  c  d");
    set.SetSwitch(3, 1);
    set.SetSwitch(5, 2);
    csv = BuildGnssCsvContent(set, texts);
    EXPECT_EQ(csv.elements[6].values[6], "user absolute result");
    EXPECT_EQ(csv.elements[7].values[6], "user relative result");
}

TEST(GnssCsvContent, HeaderAndRecordOffsets)
{
    GnssTableSet set;
    set.SetText(GnssRecord::F1, 0, "製品");
    set.SetText(GnssRecord::F1, 2, "令和8年12月10日");
    set.SetText(GnssRecord::F1, 6, "範囲");
    set.SetText(GnssRecord::F02, 11, "説明6");
    set.SetText(GnssRecord::F02, 12, "結果6");
    set.SetText(GnssRecord::F03, 8, "grid method");
    set.SetText(GnssRecord::F03, 9, "grid result");
    const GnssCsvContent csv = BuildGnssCsvContent(set, {});
    EXPECT_EQ(csv.title, "製品");
    EXPECT_EQ(csv.date, "令和8年12月10日");
    EXPECT_EQ(csv.levelDescription, "範囲");
    EXPECT_EQ(csv.elements[5].values[2], "説明6");
    EXPECT_EQ(csv.elements[5].values[6], "結果6");
    EXPECT_EQ(csv.elements[8].values[2], "grid method");
    EXPECT_EQ(csv.elements[8].values[6], "grid result");
}

}  // namespace
}  // namespace mod04827

#include "HostTestSupport.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/EraCalendar.h"
#include "platform/Cp932.h"
#include "plugins/common/ComboListIni.h"
#include "plugins/common/DeliverySettings.h"
#include "plugins/common/EraDate.h"
#include "plugins/common/IniHelpers.h"
#include "plugins/common/PartListFilter.h"
#include "plugins/common/PluginTable.h"

#include <chrono>

namespace {

using namespace plugcommon;

const PluginTable kTable{4827, "M", "t0", "t1", 33, 32, "c", "基準点品質評価表", "GPSHYOCMB", "\\GPSHYOCSV.INI",
                         {"基準点測量", "測量成果", "基準点測量", "1", "基準点測量", "メタデータ", "なし"},
                         "x(", "GPSHYO.CSV", "done"};

std::string Cp932(const std::string& utf8)
{
    return tessara::ToCp932(utf8)->Bytes();
}

using SettingsTest = HostTest;

struct CountCase {
    const char* name;
    const char* count;
    std::size_t expected;
};

class DeliveryCountTest : public HostTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(DeliveryCountTest, OnlyACountOf7To100ReplacesTheAttributes)
{
    std::string lines = "[基準点測量]\r\n電子納品属性数=" + std::string(GetParam().count) + "\r\n";
    for (int i = 1; i <= 8; ++i)
        lines += "電子納品属性_" + std::to_string(i) + "=v" + std::to_string(i) + "\r\n";
    WriteFile("host/GPSHYOCSV.INI", Cp932(lines));
    int flag = 0;
    std::vector<std::string> attributes;
    DeliverySettings::InitDeliveryAttributes(kTable, flag, attributes);
    DeliverySettings::ReadDeliverySettings(kTable, flag, attributes);
    EXPECT_EQ(attributes.size(), GetParam().expected);
    EXPECT_EQ(attributes[0], GetParam().expected == 8 ? "v1" : "基準点測量");
}

INSTANTIATE_TEST_SUITE_P(Cases, DeliveryCountTest,
                         ::testing::Values(CountCase{"five", "5", 7}, CountCase{"eight", "8", 8},
                                           CountCase{"above_100", "101", 7}, CountCase{"huge", "2000000000", 7},
                                           CountCase{"text", "abc", 7}, CountCase{"negative", "-8", 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, ConditionsFolderFlagOverridesTheHostFolder)
{
    WriteFile("host/GPSHYOCSV.INI", Cp932("[基準点測量]\r\n電子納品フラグ=1\r\n[共通]\r\n区域番号=42\r\n"));
    WriteFile("binder/conditions/GPSHYOCSV.INI", Cp932("[基準点測量]\r\n電子納品フラグ=0\r\n"));
    int flag = 1;
    std::vector<std::string> attributes;
    DeliverySettings::InitDeliveryAttributes(kTable, flag, attributes);
    DeliverySettings::ReadDeliverySettings(kTable, flag, attributes);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(attributes[3], "42");

    attributes.push_back("八");
    ASSERT_TRUE(DeliverySettings::WriteDeliverySettings(kTable, 1, attributes));
    int readFlag = 0;
    std::vector<std::string> back;
    DeliverySettings::InitDeliveryAttributes(kTable, readFlag, back);
    DeliverySettings::ReadDeliverySettings(kTable, readFlag, back);
    EXPECT_EQ(back, attributes);
    EXPECT_EQ(readFlag, 1);
}

TEST_F(SettingsTest, ReadIniIntSaturatesAndStringsAreCutOnACharacterBoundary)
{
    const std::string longValue = std::string(253, 'a') + "亜亜";
    const auto file = WriteFile("p.ini", Cp932("[S]\r\nbig=65536\r\nneg=-7x\r\nword=abc\r\nlong=" + longValue + "\r\n"))
                          .string();
    short value = 1;
    ReadIniInt("S", file, "big", value);
    EXPECT_EQ(value, 32767) << "65536 must not wrap to automatic 0";
    ReadIniInt("S", file, "neg", value);
    EXPECT_EQ(value, -7);
    ReadIniInt("S", file, "word", value);
    EXPECT_EQ(value, 0);
    ReadIniInt("S", file, "missing", value);
    EXPECT_EQ(value, 0);
    std::string text;
    EXPECT_EQ(ReadIniString("S", file, "long", text), 253);
    EXPECT_EQ(text, std::string(253, 'a'));
    EXPECT_TRUE(WriteIniInt("S", file, "big", 3));
    ReadIniInt("S", file, "big", value);
    EXPECT_EQ(value, 3);
}

struct ListCase {
    const char* name;
    std::string lines;
    std::vector<std::string> entries;
};

class ComboListTest : public HostTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ComboListTest, FillsTheEntriesOfTheCount)
{
    const auto file = WriteFile("settings/GpsHyoCmbKjn.ini", Cp932("[GPSHYOCMB]\r\n" + GetParam().lines));
    GridListBox list;
    const auto start = std::chrono::steady_clock::now();
    FillListFromComboIni(file.string(), "GPSHYOCMB", &list, "完全総括");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(list.Items(), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComboListTest,
    ::testing::Values(ListCase{"second_missing", "完全総括_max=3\r\n完全総括_0=一\r\n完全総括_2=三\r\n", {"一", "", "三"}},
                      ListCase{"zero", "完全総括_max=0\r\n完全総括_0=一\r\n", {}},
                      ListCase{"negative", "完全総括_max=-2\r\n", {}},
                      ListCase{"text", "完全総括_max=many\r\n", {}},
                      ListCase{"missing", "", {}},
                      ListCase{"huge", "完全総括_max=2147483647\r\n", {}},
                      ListCase{"above_1000", "完全総括_max=1001\r\n", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, ListEntriesOver254BytesAreCutOnACharacterBoundary)
{
    const auto file = WriteFile("settings/L.ini", Cp932("[L]\r\nk_max=1\r\nk_0=" + std::string(253, 'b') + "亜\r\n"));
    GridListBox list;
    FillListFromComboIni(file.string(), "L", &list, "k");
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetText(0), std::string(253, 'b'));
    EXPECT_EQ(ReadComboItem(file.string(), "L", "k", 0), std::string(253, 'b'));
    EXPECT_EQ(ReadComboItem(file.string(), "L", "k", 1), "");
    EXPECT_EQ(ComboIniPath("L.ini"), file.string());
}

TEST_F(SettingsTest, ListFilePathsHaveNoLengthLimit)
{
    const std::string folder = "settings/" + std::string(120, 'd') + "/" + std::string(120, 'e');
    const auto file = WriteFile(folder + "/L.ini", Cp932("[L]\r\nk_max=1\r\nk_0=長い道の先\r\n"));
    ASSERT_GT(file.string().size(), 260u);
    GridListBox list;
    EXPECT_EQ(FillListFromComboIni(file.string(), "L", &list, "k"), 1);
    EXPECT_EQ(list.GetText(0), "長い道の先");
}

struct EraCase {
    int year, month, day;
    bool gannen;
    const char* text;
};

class EraDateTest : public ::testing::TestWithParam<EraCase> {};

TEST_P(EraDateTest, FormatsTheEraText)
{
    const EraCase c = GetParam();
    SetGannen(c.gannen);
    SetEraClock([c] {
        std::tm day{};
        day.tm_year = c.year - 1900;
        day.tm_mon = c.month - 1;
        day.tm_mday = c.day;
        return std::optional<std::tm>(day);
    });
    EXPECT_EQ(FormatTodayEraDate(), c.text);
    SetEraClock({});
    SetGannen(true);
}

INSTANTIATE_TEST_SUITE_P(Cases, EraDateTest,
                         ::testing::Values(EraCase{1988, 12, 31, true, "昭和63年12月31日"},
                                           EraCase{1989, 1, 1, true, "平成元年1月1日"},
                                           EraCase{1912, 7, 30, true, "大正元年7月30日"},
                                           EraCase{2019, 5, 1, true, "令和元年5月1日"},
                                           EraCase{2019, 5, 1, false, "令和1年5月1日"},
                                           EraCase{2024, 3, 9, true, "令和6年3月9日"},
                                           EraCase{1860, 1, 2, true, "1860年1月2日"}));

TEST(EraClockTest, AFailedLocalTimeGivesAnEmptyDate)
{
    SetEraClock([] { return std::optional<std::tm>(); });
    EXPECT_EQ(FormatTodayEraDate(), "");
    SetEraClock({});
    EXPECT_FALSE(FormatTodayEraDate().empty());
}

TEST(IsCodeInListTest, ZeroOrAListedProgramPasses)
{
    const short list[] = {628, 631, 0};
    EXPECT_EQ(IsCodeInList(1, 0, list), 1);
    EXPECT_EQ(IsCodeInList(1, 631, list), 1);
    EXPECT_EQ(IsCodeInList(1, 622, list), 0);
    const short empty[] = {0, 622};
    EXPECT_EQ(IsCodeInList(1, 622, empty), 0) << "the list ends at its first 0";
}

} // namespace

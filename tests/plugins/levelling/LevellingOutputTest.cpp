#include "tests/plugins/levelling/LevellingHostFixture.h"

#include <map>

#include "hostfw/IniFile.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/RecordLayout.h"
#include "hostfw/Tab00963Data.h"
#include "plugins/common/EraDate.h"
#include "plugins/levelling/LevellingCsv.h"
#include "plugins/levelling/LevellingForm.h"
#include "plugins/levelling/LevellingKeys.h"
#include "plugins/levelling/LevellingRecords.h"
#include "plugins/levelling/LevellingSettings.h"

namespace mod00963 {
namespace {

std::map<int, std::string> FieldMap(const LevellingForm::Fields& fields)
{
    std::map<int, std::string> map;
    for (const auto& [number, text] : fields)
        map[number] = text;
    return map;
}

const std::array<std::string, 3> kTexts = {"総要求", "相対要求", "相対結果"};

TEST(LevellingFormTest, ZoneField)
{
    for (const auto& [zone, text] : std::vector<std::pair<short, std::string>>{
             {0, ""}, {19, "平面直角座標系 ⅩⅨ系"}, {20, ""}, {11, "平面直角座標系 ⅩⅠ系"}}) {
        Tab00963Data data;
        PartRecord f1(*Tab00963Data::Records().ByName("F1"));
        f1.SetShort(rec::kF1Zone, zone);
        data.Put_F1(f1);
        EXPECT_EQ(FieldMap(LevellingForm::Build(data, kTexts))[5], text) << zone;
    }
}

TEST(LevellingFormTest, SwitchesChooseManualOrGeneratedTexts)
{
    Tab00963Data data;
    PartRecord f03(*Tab00963Data::Records().ByName("F03"));
    f03.SetText(rec::kF03OverallManual, "手入力1");
    f03.SetText(rec::kF03RelRequirementManual, "手入力2");
    f03.SetText(rec::kF03RelResultManual, "手入力3");
    data.Put_F03(f03);
    auto fields = FieldMap(LevellingForm::Build(data, kTexts));
    EXPECT_EQ(fields[23], "総要求");
    EXPECT_EQ(fields[64], "相対要求");
    EXPECT_EQ(fields[66], "相対結果");
    for (const std::size_t s : {rec::kF03OverallSwitch, rec::kF03RelRequirementSwitch, rec::kF03RelResultSwitch})
        f03.SetShort(s, 1);
    data.Put_F03(f03);
    fields = FieldMap(LevellingForm::Build(data, kTexts));
    EXPECT_EQ(fields[23], "手入力1");
    EXPECT_EQ(fields[64], "手入力2");
    EXPECT_EQ(fields[66], "手入力3");
    EXPECT_EQ(fields.size(), 4u + 1 + 2 + 1 + 2 + 3 + 1 + 6 + 12 + 9 + 9 + 9);
}

// A result longer than the host's 255-byte buffers goes to the form whole.
TEST(LevellingFormTest, LongTextsPassWhole)
{
    Tab00963Data data;
    const std::string longText(400, 'x');
    const auto fields = FieldMap(LevellingForm::Build(data, {longText, longText, longText}));
    EXPECT_EQ(fields.at(66), longText);
}

TEST(LevellingCsvTest, ElementEightAndNine)
{
    Tab00963Data data;
    PartRecord f03(*Tab00963Data::Records().ByName("F03"));
    f03.SetText(rec::kF03RelResultManual, "手入力の結果");
    data.Put_F03(f03);
    EXPECT_EQ(LevellingCsv::BuildElements(data, "生成結果")[7][6], "生成結果");
    f03.SetShort(rec::kF03RelResultSwitch, 1);
    data.Put_F03(f03);
    const auto elements = LevellingCsv::BuildElements(data, "生成結果");
    ASSERT_EQ(elements.size(), 15u);
    EXPECT_EQ(elements[7][1], "009");
    EXPECT_EQ(elements[7][6], "手入力の結果");
    EXPECT_EQ(elements[8][1], "008");
    EXPECT_EQ(elements[8][3], "");
    EXPECT_EQ(elements[8][4], "");
    EXPECT_EQ(LevellingCsv::ResultOnOneLine({"較差2mm", "環閉合差\r\n    3mm"}), "較差2mm  環閉合差\r\n    3mm");
}

// Every one of the 64 stored fields, with its own value.
LevellingDefaultRecords NumberedRecords()
{
    LevellingDefaultRecords records;
    for (std::size_t r = 0; r < records.size(); ++r) {
        const RecordLayout& layout = *Tab00963Data::Records().ByName(LevellingKeys::Records()[r].record);
        records[r] = PartRecord(layout);
        for (std::size_t f = 0; f < layout.FieldCount(); ++f) {
            if (layout.Fields()[f] == FieldKind::Short)
                records[r].SetShort(f, static_cast<short>(r * 100 + f + 1));
            else
                records[r].SetText(f, "値" + std::to_string(r) + "-" + std::to_string(f));
        }
    }
    return records;
}

class LevellingSettingsTest : public LevellingHostTest {
protected:
    void WriteFile(const std::string& path, const std::vector<std::string>& lines)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        IniFile ini;
        std::string error;
        ASSERT_TRUE(ini.Load(path, error));
        std::string section;
        for (const std::string& line : lines) {
            if (line.front() == '[') {
                section = line.substr(1, line.size() - 2);
                continue;
            }
            const std::size_t eq = line.find('=');
            ASSERT_TRUE(ini.Set(section, line.substr(0, eq), line.substr(eq + 1)));
        }
        ASSERT_TRUE(ini.Save(path, error)) << error;
    }
};

TEST_F(LevellingSettingsTest, RoundTripOfAllFields)
{
    Seed("grade1.json");
    const std::string path = (m_root / "round.ini").string();
    const LevellingDefaultRecords records = NumberedRecords();
    std::string error;
    ASSERT_TRUE(SaveLevellingDefaultsToIni(path, records, error)) << error;
    LevellingDefaultRecords read;
    ASSERT_TRUE(LoadLevellingDefaultsFromIni(path, read));
    for (std::size_t r = 0; r < records.size(); ++r)
        EXPECT_EQ(read[r], records[r]) << LevellingKeys::Records()[r].record;
    // Keys 65 and 66 are never written.
    IniFile ini;
    ASSERT_TRUE(ini.Load(path, error));
    EXPECT_FALSE(ini.Get("水準測量品質評価表", "個主題定量方法"));
    EXPECT_FALSE(ini.Get("水準測量品質評価表", "個主題定量結果"));
    EXPECT_EQ(ini.Get("水準測量品質評価表", "個位置グリッド方法").value_or(""), "値4-12");
}

// A file written by the dialog names the grid and later fields two places early.
TEST_F(LevellingSettingsTest, HandWrittenFileWithShiftedNames)
{
    Seed("grade1.json");
    const std::string path = (m_root / "hand.ini").string();
    WriteFile(path, {"[水準測量品質評価表]", "等級区分=3", "個位置相対結果(自動/手入力)=1",
                     "個位置グリッド要求(自動/手入力)=グリッド要求", "個位置グリッド要求=グリッド方法",
                     "個位置グリッド方法=グリッド結果", "個位置グリッド結果(自動/手入力)=時間総括",
                     "個時間妥当方法=時間妥当結果", "個主題定量要求=主題定量結果", "個主題定量方法=使われない"});
    LevellingDefaultRecords read;
    ASSERT_TRUE(LoadLevellingDefaultsFromIni(path, read));
    EXPECT_EQ(read[0].Short(rec::kF1Grade), 3);
    EXPECT_EQ(read[4].Short(rec::kF03RelResultSwitch), 1);
    EXPECT_EQ(read[4].Text(rec::kF03GridRequirement), "グリッド要求");
    EXPECT_EQ(read[4].Text(rec::kF03GridMethod), "グリッド方法");
    EXPECT_EQ(read[4].Text(rec::kF03GridResult), "グリッド結果");
    EXPECT_EQ(read[5].Text(0), "時間総括");
    EXPECT_EQ(read[5].Text(9), "");
    EXPECT_EQ(read[6].Text(0), "時間妥当結果");
    EXPECT_EQ(read[6].Text(9), "主題定量結果");
    EXPECT_EQ(read[0].Text(rec::kF1Product), "");   // missing keys: empty
}

TEST_F(LevellingSettingsTest, BuiltInDefaultsTakeTheirListEntries)
{
    Seed("grade1.json");
    std::string settings;
    ASSERT_TRUE(PeldaIni::GetPeldaPath(0x10009, settings));
    std::vector<std::string> lines{"[SUIHYOCMB]"};
    for (const char* key : {"適用範囲", "論理位相要求", "論理書式要求", "位置絶対方法", "位置相対結果", "時間総括",
                            "時間測定方法", "主題分類結果", "主題非定結果"}) {
        lines.push_back(std::string(key) + "_max=3");
        for (int i = 0; i < 3; ++i)
            lines.push_back(std::string(key) + "_" + std::to_string(i) + "=" + key + std::to_string(i));
    }
    WriteFile(JoinHostPath(settings, "\\SuiHyoCmb.ini"), lines);
    LevellingDefaultRecords records;
    FillBuiltInLevellingDefaults(records);
    EXPECT_EQ(records[0].Short(rec::kF1Zone), 1);
    EXPECT_EQ(records[0].Short(rec::kF1Grade), 1);
    EXPECT_EQ(records[0].Text(rec::kF1Scope), "適用範囲0");
    EXPECT_EQ(records[0].Text(rec::kF1Verdict), "合格");   // the seed's list
    EXPECT_EQ(records[1].Short(rec::kF2TargetKind), 0);
    EXPECT_EQ(records[3].Text(1), "論理書式要求0");
    EXPECT_EQ(records[3].Text(10), "論理位相要求2");
    EXPECT_EQ(records[4].Text(rec::kF03AbsMethod), "位置絶対方法1");
    EXPECT_EQ(records[4].Text(rec::kF03RelResultManual), "位置相対結果0");
    EXPECT_EQ(records[4].Short(rec::kF03RelResultSwitch), 0);
    EXPECT_EQ(records[5].Text(0), "時間総括2");
    EXPECT_EQ(records[5].Text(2), "時間測定方法0");
    EXPECT_EQ(records[6].Text(3), "主題分類結果2");
    EXPECT_EQ(records[6].Text(6), "主題非定結果0");
}

TEST_F(LevellingSettingsTest, MissingListFileGivesEmptyDefaults)
{
    Seed("grade1.json");
    std::string settings;
    ASSERT_TRUE(PeldaIni::GetPeldaPath(0x10009, settings));
    std::filesystem::remove(JoinHostPath(settings, "\\SuiHyoCmb.ini"));
    LevellingDefaultRecords records;
    FillBuiltInLevellingDefaults(records);
    EXPECT_EQ(records[0].Text(rec::kF1Scope), "");
    EXPECT_EQ(records[4].Text(rec::kF03AbsMethod), "");
    EXPECT_EQ(records[0].Short(rec::kF1Grade), 1);
}

TEST_F(LevellingSettingsTest, NewPartTakesUserRootFileThenBothAfterSave)
{
    Seed("grade1.json");
    LevellingDefaultRecords records = NumberedRecords();
    std::string error;
    ASSERT_TRUE(SaveLevellingDefaultsToIni(LevellingSettings::UserRootFile(), records, error)) << error;
    ASSERT_FALSE(std::filesystem::exists(LevellingSettings::CommonDataFile()));

    plugcommon::SetEraClock([] {
        std::tm day{};
        day.tm_year = 2024 - 1900;
        day.tm_mon = 4;
        day.tm_mday = 1;
        return std::optional<std::tm>(day);
    });
    Tab00963Data data;
    ASSERT_TRUE(LevellingSettings::LoadDefaults(data, 0x10C, plugcommon::FormatTodayEraDate()));
    plugcommon::SetEraClock({});
    PartRecord f1, f05;
    ASSERT_TRUE(data.Get_F1(f1));
    ASSERT_TRUE(data.Get_F05(f05));
    EXPECT_EQ(f1.Short(rec::kF1Zone), 12);
    EXPECT_EQ(f1.Text(rec::kF1Created), "令和6年5月1日");
    EXPECT_EQ(f1.Text(rec::kF1Product), "値0-0");
    EXPECT_EQ(f05, records[6]);

    ASSERT_TRUE(LevellingSettings::Save(data, error)) << error;
    const std::string common = ReadBytes(LevellingSettings::CommonDataFile());
    EXPECT_FALSE(common.empty());
    EXPECT_EQ(common, ReadBytes(LevellingSettings::UserRootFile()));
}

TEST_F(LevellingSettingsTest, UnreadableRecordsKeepTheFiles)
{
    Seed("grade1.json");
    std::string error;
    ASSERT_TRUE(SaveLevellingDefaultsToIni(LevellingSettings::CommonDataFile(), NumberedRecords(), error));
    const std::string before = ReadBytes(LevellingSettings::CommonDataFile());
    Tab00963Data data;   // no record stored
    PartRecord f1(*Tab00963Data::Records().ByName("F1"));
    data.Put_F1(f1);
    EXPECT_FALSE(LevellingSettings::Save(data, error));
    EXPECT_EQ(ReadBytes(LevellingSettings::CommonDataFile()), before);
    EXPECT_FALSE(std::filesystem::exists(LevellingSettings::UserRootFile()));
}

// A settings file that cannot be read falls back like a missing one.
TEST_F(LevellingSettingsTest, UnreadableFileFallsBack)
{
    Seed("grade1.json");
    std::filesystem::create_directories(LevellingSettings::CommonDataFile());   // a folder, not a file
    std::string error;
    ASSERT_TRUE(SaveLevellingDefaultsToIni(LevellingSettings::UserRootFile(), NumberedRecords(), error));
    Tab00963Data data;
    ASSERT_TRUE(LevellingSettings::LoadDefaults(data, 9, "今日"));
    PartRecord f1;
    data.Get_F1(f1);
    EXPECT_EQ(f1.Text(rec::kF1Product), "値0-0");
}

} // namespace
} // namespace mod00963

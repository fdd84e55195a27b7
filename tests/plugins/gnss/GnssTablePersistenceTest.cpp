#include "plugins/gnss/GnssTableAccess.h"
#include "plugins/gnss/GnssTablePersistence.h"

#include "hostfw/IniFile.h"
#include "hostfw/Tab04827Data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace mod04827 {
namespace {

namespace fs = std::filesystem;

constexpr SurveyVariant kAll[] = {SurveyVariant::Control, SurveyVariant::Levelling, SurveyVariant::Elevation3,
                                  SurveyVariant::Elevation4};

class GnssTablePersistenceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() /
                 ("gnss-ini-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        m_folders = {(m_root / "common").string(), (m_root / "user").string(), (m_root / "settings").string()};
    }
    void TearDown() override { fs::remove_all(m_root); }

    void WriteCp932(const fs::path& file, const std::string& utf8Lines)
    {
        fs::create_directories(file.parent_path());
        IniFile ini;
        std::string error;
        std::ofstream(file, std::ios::binary) << "";
        ASSERT_TRUE(ini.Load(file, error)) << error;
        std::size_t at = 0;
        while (at < utf8Lines.size()) {
            const std::size_t end = utf8Lines.find('\n', at);
            const std::string line = utf8Lines.substr(at, end - at);
            const std::size_t eq = line.find('=');
            ini.Set("基準点品質評価表", line.substr(0, eq), line.substr(eq + 1));
            at = end == std::string::npos ? utf8Lines.size() : end + 1;
        }
        ASSERT_TRUE(ini.Save(file, error)) << error;
    }

    GnssTableSet ReadBack(const Tab04827Data& data, SurveyVariant v)
    {
        GnssTableSet set;
        EXPECT_TRUE(ReadTableSet(data, v, set));
        return set;
    }

    fs::path m_root;
    GnssIniFolders m_folders;
};

TEST_F(GnssTablePersistenceTest, NewPartWithoutAnyFile)
{
    Tab04827Data data;
    GnssTablePersistence(m_folders).PrepareNewPart(data, 9, "令和8年12月10日");
    for (SurveyVariant v : kAll) {
        const GnssTableSet set = ReadBack(data, v);
        EXPECT_EQ(set.Text(GnssRecord::F1, 2), "令和8年12月10日");
        const bool zoned = v == SurveyVariant::Control || v == SurveyVariant::Levelling;
        EXPECT_EQ(set.Zone(), zoned ? 9 : 1);
        for (int n = 1; n <= 5; ++n) EXPECT_EQ(set.Switch(n), 0);
        EXPECT_EQ(set.Text(GnssRecord::F02, 10), "");
        EXPECT_EQ(set.Text(GnssRecord::F1, 0), "");
    }
}

TEST_F(GnssTablePersistenceTest, DefaultsComeFromTheListEntries)
{
    fs::create_directories(m_root / "settings");
    std::ofstream(m_root / "settings/GpsHyoCmbSui.ini", std::ios::binary)
        << "[GPSHYOCMB]\r\n\x90\x85\x8F\x80:\x98_\x97\x9D\x88\xCA\x91\x8A\x97v\x8B\x81_max=2\r\n"
           "\x90\x85\x8F\x80:\x98_\x97\x9D\x88\xCA\x91\x8A\x97v\x8B\x81_0=first\r\n"
           "\x90\x85\x8F\x80:\x98_\x97\x9D\x88\xCA\x91\x8A\x97v\x8B\x81_1=second\r\n";
    GnssTableSet set;
    GnssTablePersistence(m_folders).ReadSet(SurveyVariant::Levelling, set);
    EXPECT_EQ(set.Text(GnssRecord::F02, 10), "second");   // 論理位相要求 takes entry 1
    EXPECT_EQ(set.Zone(), 1);
}

TEST_F(GnssTablePersistenceTest, LongListEntriesAndIniValuesAreCutOnACharacterBoundary)
{
    // "ン" is 0x83 0x93: its trail byte lies in the lead-byte range.
    std::string longText;
    for (int i = 0; i < 150; ++i) longText += "ン";
    longText = "a" + longText;   // 301 bytes: the 255th byte would split a character
    fs::create_directories(m_root / "settings");
    IniFile list;
    std::string error;
    ASSERT_TRUE(list.Load(m_root / "settings/GpsHyoCmbKjn.ini", error));
    list.Set("GPSHYOCMB", "完全総括_max", "1");
    list.Set("GPSHYOCMB", "完全総括_0", longText);
    ASSERT_TRUE(list.Save(m_root / "settings/GpsHyoCmbKjn.ini", error));
    GnssTableSet set;
    GnssTablePersistence(m_folders).ReadSet(SurveyVariant::Control, set);
    EXPECT_EQ(set.Text(GnssRecord::F01, 0), longText.substr(0, 1 + 3 * 126));   // 253 CP932 bytes

    WriteCp932(m_root / "user/GPSHYOUKA.ini", "総製品名=" + longText);
    GnssTablePersistence(m_folders).ReadSet(SurveyVariant::Control, set);
    EXPECT_EQ(set.Text(GnssRecord::F1, 0), longText.substr(0, 1 + 3 * 126));
}

TEST_F(GnssTablePersistenceTest, UserRootOnlyAndBothFolders)
{
    WriteCp932(m_root / "user/GPSHYOUKA.ini", "総製品名=from user\n総座標系=65536");
    GnssTableSet set;
    GnssTablePersistence(m_folders).ReadSet(SurveyVariant::Control, set);
    EXPECT_EQ(set.Text(GnssRecord::F1, 0), "from user");
    EXPECT_EQ(set.Zone(), 32767);   // saturates, never wraps to 0
    WriteCp932(m_root / "common/GPSHYOUKA.ini", "総製品名=from common");
    GnssTablePersistence(m_folders).ReadSet(SurveyVariant::Control, set);
    EXPECT_EQ(set.Text(GnssRecord::F1, 0), "from common");
}

TEST_F(GnssTablePersistenceTest, UnreadableCommonFileFallsBackToTheUserRoot)
{
    fs::create_directories(m_root / "common/GPSHYOUKA.ini");   // exists, cannot be read as a file
    WriteCp932(m_root / "user/GPSHYOUKA.ini", "総製品名=from user");
    GnssTableSet set;
    GnssTablePersistence(m_folders).ReadSet(SurveyVariant::Control, set);
    EXPECT_EQ(set.Text(GnssRecord::F1, 0), "from user");
}

TEST_F(GnssTablePersistenceTest, SaveWritesEightFilesAndSeedsTheNextPart)
{
    const GnssTablePersistence persistence(m_folders);
    Tab04827Data data;
    persistence.PrepareNewPart(data, 9, "today");
    GnssTableSet levelling = ReadBack(data, SurveyVariant::Levelling);
    levelling.SetText(GnssRecord::F05, 9, "定量結果テキスト");
    levelling.SetSwitch(3, 1);
    WriteTableSet(data, SurveyVariant::Levelling, levelling);
    EXPECT_EQ(persistence.SaveAllSets(data), 8);
    for (SurveyVariant v : kAll) {
        EXPECT_TRUE(fs::is_regular_file(persistence.IniPath(m_folders.commonData, v)));
        EXPECT_TRUE(fs::is_regular_file(persistence.IniPath(m_folders.userRoot, v)));
    }
    Tab04827Data next;
    persistence.PrepareNewPart(next, 9, "tomorrow");
    const GnssTableSet seeded = ReadBack(next, SurveyVariant::Levelling);
    EXPECT_EQ(seeded.Text(GnssRecord::F05, 9), "定量結果テキスト");
    EXPECT_EQ(seeded.Switch(3), 1);
    EXPECT_EQ(seeded.Text(GnssRecord::F1, 2), "tomorrow");
}

TEST_F(GnssTablePersistenceTest, ASetWithAnUnreadableRecordKeepsItsFiles)
{
    const GnssTablePersistence persistence(m_folders);
    WriteCp932(m_root / "common/GPSHYOUKA_HYO3.ini", "標高:総製品名=kept");
    Tab04827Data data;
    persistence.PrepareNewPart(data, 9, "today");
    data.ClearRecord("F04H3");
    EXPECT_EQ(persistence.SaveAllSets(data), 6);
    GnssTableSet set;
    persistence.ReadSet(SurveyVariant::Elevation3, set);
    EXPECT_EQ(set.Text(GnssRecord::F1, 0), "kept");
    EXPECT_FALSE(fs::exists(persistence.IniPath(m_folders.userRoot, SurveyVariant::Elevation3)));
}

TEST_F(GnssTablePersistenceTest, AnUnreadableRecordLeavesOnlyItsFieldsEmpty)
{
    Tab04827Data data;
    GnssTableSet set;
    set.SetText(GnssRecord::F1, 0, "product");
    set.SetText(GnssRecord::F04, 3, "temporal");
    WriteTableSet(data, SurveyVariant::Control, set);
    data.ClearRecord("F04");
    GnssTableSet read;
    EXPECT_FALSE(ReadTableSet(data, SurveyVariant::Control, read));
    EXPECT_EQ(read.Text(GnssRecord::F1, 0), "product");
    EXPECT_EQ(read.Text(GnssRecord::F04, 3), "");
}

TEST_F(GnssTablePersistenceTest, ReloadFlagsThreeReloadBothSetsOnce)
{
    WriteCp932(m_root / "common/GPSHYOUKA_SUI.ini", "水準:総製品名=levelling ini");
    WriteCp932(m_root / "common/GPSHYOUKA_HYO4.ini", "標高:総製品名=elevation ini");
    const GnssTablePersistence persistence(m_folders);
    Tab04827Data data;
    persistence.PrepareNewPart(data, 9, "part date");
    GnssTableSet control = ReadBack(data, SurveyVariant::Control);
    control.SetZone(12);
    WriteTableSet(data, SurveyVariant::Control, control);
    WriteReloadFlags(data, 3);
    EXPECT_TRUE(persistence.ServeReloadFlags(data));
    EXPECT_EQ(ReadReloadFlags(data), 0);
    EXPECT_EQ(ReadBack(data, SurveyVariant::Levelling).Text(GnssRecord::F1, 0), "levelling ini");
    const GnssTableSet e4 = ReadBack(data, SurveyVariant::Elevation4);
    EXPECT_EQ(e4.Text(GnssRecord::F1, 0), "elevation ini");
    EXPECT_EQ(e4.Zone(), 12);
    EXPECT_EQ(e4.Text(GnssRecord::F1, 2), "part date");
    EXPECT_FALSE(persistence.ServeReloadFlags(data));
}

}  // namespace
}  // namespace mod04827

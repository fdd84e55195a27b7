#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "hostfw/PeldaIni.h"
#include "hostfw/RecordLayout.h"
#include "hostfw/Tab00519Data.h"
#include "platform/Cp932.h"
#include "plugins/ctrlpoint/ControlPointCsv.h"
#include "plugins/ctrlpoint/ControlPointForm.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"
#include "plugins/ctrlpoint/TableSettings.h"

namespace mod00519 {
namespace {

PartRecord Texts(const char* record, const std::string& prefix)
{
    PartRecord r(*Tab00519Data::Records().ByName(record));
    for (std::size_t f = 0; f < r.FieldCount(); ++f) {
        if (Tab00519Data::Records().ByName(record)->Fields()[f] == FieldKind::Text)
            r.SetText(f, prefix + std::to_string(f));
    }
    return r;
}

Tab00519Data Table(short zone, std::array<short, 5> switches)
{
    Tab00519Data data;
    PartRecord f1 = Texts("F1", "一");
    f1.SetShort(rec::kF1Zone, zone);
    f1.SetShort(rec::kF1Grade, 2);
    data.Put_F1(f1);
    data.Put_F01(Texts("F01", "完"));
    data.Put_F02(Texts("F02", "論"));
    PartRecord f03 = Texts("F03", "位");
    for (std::size_t s = 0; s < 5; ++s)
        f03.SetShort(rec::kF03Switch[s], switches[s]);
    data.Put_F03(f03);
    data.Put_F04(Texts("F04", "時"));
    data.Put_F05(Texts("F05", "主"));
    return data;
}

const std::array<std::string, 7> kTexts = {"名", "絶短", "相短", "絶形", "絶果", "相形", "相果"};

std::string FieldOf(const ControlPointForm::Fields& fields, int number)
{
    const auto it = std::find_if(fields.begin(), fields.end(), [number](const auto& f) { return f.first == number; });
    return it == fields.end() ? std::string("<none>") : it->second;
}

TEST(ControlPointFormTest, ZoneFieldAndGeneratedTexts)
{
    struct Case { short zone; const char* field5; };
    for (const Case c : {Case{0, ""}, Case{11, "平面直角座標系 ⅩⅠ系"}, Case{20, ""}}) {
        const ControlPointForm::Fields fields = ControlPointForm::Build(Table(c.zone, {}), kTexts);
        EXPECT_EQ(FieldOf(fields, 5), c.field5);
    }
    const ControlPointForm::Fields fields = ControlPointForm::Build(Table(9, {}), kTexts);
    EXPECT_EQ(fields.size(), 61u);
    EXPECT_EQ(FieldOf(fields, 1), "一0");
    EXPECT_EQ(FieldOf(fields, 11), "一7");
    EXPECT_EQ(FieldOf(fields, 23), "絶短");
    EXPECT_EQ(FieldOf(fields, 26), "一9");
    EXPECT_EQ(FieldOf(fields, 27), "名");
    EXPECT_EQ(FieldOf(fields, 28), "相短");
    EXPECT_EQ(FieldOf(fields, 61), "絶形");
    EXPECT_EQ(FieldOf(fields, 62), "位4");
    EXPECT_EQ(FieldOf(fields, 63), "絶果");
    EXPECT_EQ(FieldOf(fields, 66), "相果");
    EXPECT_EQ(FieldOf(fields, 109), "主9");
}

TEST(ControlPointFormTest, ManualSwitchesKeepTypedTextsAndSwitchADropsFields27And28)
{
    const ControlPointForm::Fields fields = ControlPointForm::Build(Table(9, {1, 1, 1, 1, 1}), kTexts);
    EXPECT_EQ(fields.size(), 59u);
    EXPECT_EQ(FieldOf(fields, 27), "<none>");
    EXPECT_EQ(FieldOf(fields, 28), "<none>");
    EXPECT_EQ(FieldOf(fields, 23), "位1");
    EXPECT_EQ(FieldOf(fields, 61), "位3");
    EXPECT_EQ(FieldOf(fields, 63), "位6");
    EXPECT_EQ(FieldOf(fields, 64), "位8");
    EXPECT_EQ(FieldOf(fields, 66), "位11");
}

TEST(ControlPointCsvTest, ElementCodesUnitsAndSwitchedResults)
{
    const std::vector<ControlPointCsv::Element> auto_ = ControlPointCsv::BuildElements(Table(9, {}), kTexts);
    ASSERT_EQ(auto_.size(), 15u);
    const char* codes[] = {"001", "002", "005", "003", "004", "006", "007", "009", "008",
                           "010", "011", "012", "013", "014", "015"};
    for (std::size_t n = 0; n < 15; ++n)
        EXPECT_EQ(auto_[n][1], codes[n]);
    EXPECT_EQ(auto_[0][2], "完2");
    EXPECT_EQ(auto_[5][6], "論12");
    EXPECT_EQ(auto_[6][3], "centimeter");
    EXPECT_EQ(auto_[7][4], "長さ");
    EXPECT_EQ(auto_[8][3], "");
    EXPECT_EQ(auto_[8][4], "");
    EXPECT_EQ(auto_[9][3], "percent");
    EXPECT_EQ(auto_[6][6], "絶果");
    EXPECT_EQ(auto_[7][6], "相果");
    const std::vector<ControlPointCsv::Element> manual =
        ControlPointCsv::BuildElements(Table(9, {0, 0, 1, 0, 1}), kTexts);
    EXPECT_EQ(manual[6][6], "位6");
    EXPECT_EQ(manual[7][6], "位11");
    const ControlPointCsv::Header header = ControlPointCsv::BuildHeader(Table(9, {}));
    EXPECT_EQ(header.title, "一0");
    EXPECT_EQ(header.date, "一2");
    EXPECT_EQ(header.levelDescription, "一7");
}

// Settings files under a private data root.
class TableSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = std::filesystem::temp_directory_path() /
                 ("ctrlpoint-settings-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_root);
        ::setenv("PARTHOST_DATA_DIR", m_root.string().c_str(), 1);
        std::string settings;
        ASSERT_TRUE(PeldaIni::GetPeldaPath(PeldaIni::kSettingsFolder, settings));
        Write(std::filesystem::path(settings) / "KjnHyoCmb.ini",
              "[KJNHYOCMB]\r\n位置総括_max=2\r\n位置総括_0=既定の総括\r\n位置総括_1=別\r\n評価結果_max=1\r\n評価結果_0=合格\r\n");
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }
    static void Write(const std::filesystem::path& file, const std::string& text)
    {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << tessara::ToCp932(text).value().Bytes();
    }
    static PartRecord Get(const Tab00519Data& data, const char* name)
    {
        PartRecord r;
        data.GetRec(name, r);
        return r;
    }
    std::filesystem::path m_root;
};

TEST_F(TableSettingsTest, WithoutFilesListDefaultsGradeOneAndCurrentZone)
{
    Tab00519Data data;
    ASSERT_TRUE(TableSettings::LoadDefaults(data, 0x10B, "令和6年4月1日"));
    const PartRecord f1 = Get(data, "F1");
    EXPECT_EQ(f1.Short(rec::kF1Grade), 1);
    EXPECT_EQ(f1.Short(rec::kF1Zone), 11);   // low byte of the host's zone
    EXPECT_EQ(f1.Text(rec::kF1Created), "令和6年4月1日");
    EXPECT_EQ(f1.Text(rec::kF1Verdict), "合格");
    EXPECT_EQ(Get(data, "F03").Text(rec::kF03Summary), "既定の総括");
    EXPECT_EQ(Get(data, "F03").Text(rec::kF03AbsMethod), "");
}

TEST_F(TableSettingsTest, CommonDataFileWinsOverUserRoot)
{
    const std::string common = TableSettings::CommonDataFile();
    const std::string user = TableSettings::UserRootFile();
    Write(user, "[基準点品質評価表]\r\n等級区分=3\r\n総製品名=利用者\r\n");
    Tab00519Data fromUser;
    TableSettings::LoadDefaults(fromUser, 9, "");
    EXPECT_EQ(Get(fromUser, "F1").Short(rec::kF1Grade), 3);
    EXPECT_EQ(Get(fromUser, "F1").Text(rec::kF1Product), "利用者");
    EXPECT_EQ(Get(fromUser, "F1").Text(rec::kF1Verdict), "");   // a missing key is empty, not a list default

    Write(common, "[基準点品質評価表]\r\n等級区分=4\r\n総製品名=共通\r\n");
    Tab00519Data fromCommon;
    TableSettings::LoadDefaults(fromCommon, 9, "");
    EXPECT_EQ(Get(fromCommon, "F1").Short(rec::kF1Grade), 4);
    EXPECT_EQ(Get(fromCommon, "F1").Text(rec::kF1Product), "共通");
}

TEST_F(TableSettingsTest, SaveWritesBothFilesAndRefusesWithUnreadRecords)
{
    Tab00519Data data;
    TableSettings::LoadDefaults(data, 9, "令和6年4月1日");
    std::string error;
    ASSERT_TRUE(TableSettings::Save(data, error)) << error;
    for (const std::string& file : {TableSettings::CommonDataFile(), TableSettings::UserRootFile()}) {
        Tab00519Data back;
        TableSettings::LoadDefaults(back, 9, "");
        EXPECT_TRUE(std::filesystem::exists(file));
        EXPECT_EQ(Get(back, "F03").Text(rec::kF03Summary), "既定の総括");
    }

    // A part whose records cannot all be read leaves both files as they were.
    const std::string before = [] {
        std::ifstream in(TableSettings::UserRootFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    Tab00519Data partial;
    partial.Put_F1(Get(data, "F1"));
    EXPECT_FALSE(TableSettings::Save(partial, error));
    std::ifstream in(TableSettings::UserRootFile(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
}

TEST_F(TableSettingsTest, UnreadableSettingsFileFallsBackLikeMissingOne)
{
    const std::string common = TableSettings::CommonDataFile();
    std::filesystem::create_directories(common);   // a folder where the file should be: cannot be read
    Write(TableSettings::UserRootFile(), "[基準点品質評価表]\r\n等級区分=2\r\n");
    Tab00519Data data;
    TableSettings::LoadDefaults(data, 9, "");
    EXPECT_EQ(Get(data, "F1").Short(rec::kF1Grade), 2);
}

} // namespace
} // namespace mod00519

#include "plugins/gnss/GnssEvaluation.h"
#include "plugins/gnss/GnssResultMessages.h"
#include "plugins/gnss/Kjn_Send.h"

#include "hostfw/CTab04827DB.h"
#include "hostfw/CVApp.h"
#include "hostfw/FileChooser.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PartSystemSeed.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/Tab04827Data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace mod04827 {
namespace {

std::filesystem::path SourceDir()
{
    const char* dir = std::getenv("TESSARA_SOURCE_DIR");
    return dir ? std::filesystem::path(dir) : std::filesystem::path(".");
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Seeds an example survey under a private data root and makes it current.
PartSystem* SeedExample(const std::string& name)
{
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("gnss-fixture-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(root);
    setenv("PARTHOST_DATA_DIR", root.c_str(), 1);
    PartSystemSeed seed;
    std::string error;
    if (!seed.Load(SourceDir() / "examples/gnss" / (name + ".json"), error)) {
        ADD_FAILURE() << error;
        return nullptr;
    }
    auto system = seed.Apply(root / "parts.db", error);
    if (!system) {
        ADD_FAILURE() << error;
        return nullptr;
    }
    PartSystem* raw = system.get();
    CVApp::Instance().Reset();
    CVApp::Instance().AddPartSystem(std::move(system), name);
    return raw;
}

Tab04827Data SurveyPart(PartSystem* system)
{
    Tab04827Data data;
    CTab04827DB db(system);
    EXPECT_TRUE(db.Get(1, data, 0));
    return data;
}

struct FixtureCase {
    const char* name;
    std::vector<std::string> relativeResults;
    std::string absoluteResult;
};
class ExampleSurveys : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(ExampleSurveys, EvaluateToTheHandCheckedTexts)
{
    PartSystem* system = SeedExample(GetParam().name);
    ASSERT_TRUE(system);
    const GnssEvaluation e(SurveyPart(system), system);
    ASSERT_EQ(e.ResultCode(), kResultOk) << ResultMessage(e.ResultCode(), e.WorkKindName(), e.SurveyKindName());
    EXPECT_EQ(e.Texts().relativeResults, GetParam().relativeResults);
    EXPECT_EQ(e.Texts().absoluteResult, GetParam().absoluteResult);
}
INSTANTIATE_TEST_SUITE_P(Cases, ExampleSurveys, ::testing::Values(
    FixtureCase{"control_survey",
                {"基線ベクトルの環閉合差水平15mm、高さ15mm", "重複する基線ベクトルの較差水平13mm、高さ12mm",
                 "結合多角の閉合差水平20mm、高さ35mm"},
                "水平位置の標準偏差1.0cm、\r\n標高の標準偏差1.3cm"},
    // The same survey with switched-off ring, duplicate-baseline and route parts of the
    // work whose 300 to 400 mm closures would win every maximum: only the active ones count.
    FixtureCase{"control_survey_inactive",
                {"基線ベクトルの環閉合差水平15mm、高さ15mm", "重複する基線ベクトルの較差水平13mm、高さ12mm",
                 "結合多角の閉合差水平20mm、高さ35mm"},
                "水平位置の標準偏差1.0cm、\r\n標高の標準偏差1.3cm"},
    // Halves 9.1 and 4.8 mm; route K1-P1-K2 closes by -8 mm, the four other routes are
    // rejected; assumed network 2.1 mm and residual 2.5 mm; slope residual 4.5 mm.
    FixtureCase{"levelling_survey",
                {"観測データ前後半の基線ベクトルの較差：\r\n水平：9mm\r\n高さ：5mm\r\n",
                 "既知点間の楕円体高\r\nの閉合差：8mm\r\n",
                 "仮定三次元網平均計算における楕円体高の閉合差：2mm\r\n",
                 "仮定三次元網平均計算における基線ベクトルの各成分の残差：3mm\r\n",
                 "三次元網平均計算における斜距離の残差：5mm"},
                "－"},
    // Reversed second half: 14.3 and 4.9 mm; route closure -12.5 mm; slope residual 0.4 mm.
    FixtureCase{"elevation3_survey",
                {"観測データ前後半の基線ベクトルの較差：\r\n水平：14mm\r\n高さ：5mm\r\n",
                 "既知点間の楕円体高\r\nの閉合差：13mm\r\n", "三次元網平均計算における斜距離の残差：0mm"},
                "－"},
    FixtureCase{"elevation4_survey",
                {"観測データ前後半の基線ベクトルの較差：\r\n水平：14mm\r\n高さ：5mm\r\n",
                 "既知点間の楕円体高\r\nの閉合差：13mm\r\n", "三次元網平均計算における斜距離の残差：0mm"},
                "－"}),
    [](const auto& info) { return std::string(info.param.name); });

// The CSV command over the control-point examples, compared byte for byte with the
// hand-checked files: CP932, CRLF, 6 header lines and 15 elements of 7 lines.
struct CsvCase {
    const char* seed;
    const char* expected;
};
class GnssCsvCommand : public ::testing::TestWithParam<CsvCase> {};

TEST_P(GnssCsvCommand, WritesTheHandCheckedFile)
{
    PartSystem* system = SeedExample(GetParam().seed);
    ASSERT_TRUE(system);
    std::vector<std::string> messages;
    SetHostMessageHandler([&](const std::string& text, const std::string&, unsigned) {
        messages.push_back(text);
        return kIdOk;
    });
    SetFileChooserHook([](const std::string&) { return std::optional<std::string>("GPSHYO.CSV"); });
    const int sent = ExportEvaluationCsv(SurveyPart(system));
    SetFileChooserHook({});
    SetHostMessageHandler({});
    EXPECT_EQ(sent, 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "品質評価表CSVファイル出力が終了しました");

    std::string temp;
    ASSERT_TRUE(PeldaIni::GetBinderTempPath(temp));
    const std::string written = ReadBytes(JoinHostPath(temp, "GPSHYO.CSV"));
    const std::string expected = ReadBytes(SourceDir() / "examples/gnss/expected" / GetParam().expected);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(written, expected);
    int lines = 0;
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] == '\n') {
            ++lines;
            EXPECT_TRUE(i > 0 && written[i - 1] == '\r') << "line " << lines;
        }
    }
    EXPECT_EQ(lines, 111);
}

INSTANTIATE_TEST_SUITE_P(Seeds, GnssCsvCommand,
                         ::testing::Values(CsvCase{"control_survey", "GPSHYO_control.csv"},
                                           CsvCase{"control_survey_inactive", "GPSHYO_control_inactive.csv"}),
                         [](const auto& info) { return std::string(info.param.seed); });

}  // namespace
}  // namespace mod04827

// Runs the host stand-in on each example survey with the built plug-in: calculation,
// form PDF (read back with pdftotext), the scripted table dialog and the CSV command.
#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? fs::path(v) : fs::path(".");
}

std::string RunCommand(const std::string& command, int& exitCode)
{
    std::string out;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        exitCode = -1;
        return out;
    }
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) out += buffer.data();
    const int status = ::pclose(pipe);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct RunCase {
    const char* fixture;
    const char* product;          // form field 1
    const char* generatedLine;    // a generated result the form shows
};
class ParthostRuns : public ::testing::TestWithParam<RunCase> {};

TEST_P(ParthostRuns, CalculateFormEditAndCsv)
{
    const fs::path out = fs::temp_directory_path() / ("gnss-parthost-" + std::to_string(::getpid()) + "-" + GetParam().fixture);
    fs::remove_all(out);
    const std::string host = (fs::path(GNSS_BUILD_DIR) / "bin/parthost").string();
    const std::string plugin = (fs::path(GNSS_BUILD_DIR) / "plugins/Mod04827.so").string();
    const std::string seed = (Env("TESSARA_SOURCE_DIR") / "examples/gnss" / (std::string(GetParam().fixture) + ".json")).string();
    int rc = 0;
    const std::string log = RunCommand(host + " --seed " + seed + " --plugin " + plugin + " --out " + out.string() +
                                    " --docalc 0x03 --form --edit --csv",
                                rc);
    ASSERT_EQ(rc, 0) << log;
    EXPECT_NE(log.find("MSG[報告1 品質評価表] 処理が正常に行われました。"), std::string::npos) << log;
    EXPECT_NE(log.find("DOCALC 0x3 = 0x0"), std::string::npos) << log;
    EXPECT_NE(log.find("MSG[品質評価表] 品質評価表CSVファイル出力が終了しました"), std::string::npos) << log;

    fs::path pdf;
    for (const auto& entry : fs::directory_iterator(out)) {
        if (entry.path().extension() == ".pdf") pdf = entry.path();
    }
    ASSERT_FALSE(pdf.empty()) << log;
    const std::string text = RunCommand("pdftotext " + pdf.string() + " -", rc);
    ASSERT_EQ(rc, 0);
    EXPECT_NE(text.find(GetParam().product), std::string::npos) << text;
    EXPECT_NE(text.find(GetParam().generatedLine), std::string::npos) << text;

    EXPECT_TRUE(fs::is_regular_file(out / "edit.png"));
    for (const char* folder : {"data/binder/common", "data/user"}) {
        for (const char* ini : {"GPSHYOUKA.ini", "GPSHYOUKA_SUI.ini", "GPSHYOUKA_HYO3.ini", "GPSHYOUKA_HYO4.ini"}) {
            EXPECT_TRUE(fs::is_regular_file(out / folder / ini)) << folder << "/" << ini;
        }
    }
    EXPECT_TRUE(fs::is_regular_file(out / "GPSHYO.CSV"));
    EXPECT_TRUE(fs::is_regular_file(out / "data/binder/files/GPSHYO.CSV"));
    // The scripted edit stored the grid result, so the CSV carries it.
    const std::string csv = ReadBytes(out / "GPSHYO.CSV");
    EXPECT_NE(csv.find(tessara::ToCp932("グリッド結果を確認")->Bytes()), std::string::npos);
}
INSTANTIATE_TEST_SUITE_P(Cases, ParthostRuns, ::testing::Values(
    RunCase{"control_survey", "GNSS基準点測量 品質評価表", "標高の標準偏差1.3cm"},
    RunCase{"levelling_survey", "GNSS水準測量 品質評価表", "仮定三次元網平均計算における楕円体高の閉合差：2mm"},
    RunCase{"elevation3_survey", "GNSS標高測量(3級) 品質評価表", "の閉合差：13mm"},
    RunCase{"elevation4_survey", "GNSS標高測量(4級) 品質評価表", "水平20mm、高さが40mm"}),
    [](const auto& info) { return std::string(info.param.fixture); });

// The CSV command alone on the control-point example gives the hand-checked file.
TEST(ParthostCsv, MatchesTheHandCheckedFile)
{
    const fs::path out = fs::temp_directory_path() / ("gnss-parthost-csv-" + std::to_string(::getpid()));
    fs::remove_all(out);
    int rc = 0;
    const std::string log = RunCommand((fs::path(GNSS_BUILD_DIR) / "bin/parthost").string() + " --seed " +
                                    (Env("TESSARA_SOURCE_DIR") / "examples/gnss/control_survey.json").string() +
                                    " --plugin " + (fs::path(GNSS_BUILD_DIR) / "plugins/Mod04827.so").string() +
                                    " --out " + out.string() + " --csv",
                                rc);
    ASSERT_EQ(rc, 0) << log;
    EXPECT_EQ(ReadBytes(out / "GPSHYO.CSV"),
              ReadBytes(Env("TESSARA_SOURCE_DIR") / "examples/gnss/expected/GPSHYO_control.csv"));
}

}  // namespace

// The plug-in driven end to end by the host stand-in, one run per fixture and call.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "../ParthostRun.h"

namespace {

const std::filesystem::path kSource = LEVELLING_SOURCE_DIR;
const std::filesystem::path kBinary = LEVELLING_BINARY_DIR;

// One parthost run: its exit code and printed lines.
std::pair<int, std::string> RunHost(const std::string& fixture, const std::filesystem::path& out,
                                    const QStringList& options)
{
    const plugtest::HostRun run =
        plugtest::RunParthost(kSource, kBinary, "levelling", "Mod00963.so", fixture, out, options);
    return {run.exitCode, run.output};
}

struct RunCase {
    const char* fixture;
    const char* message;   // after "MSG[報告1 水準測量品質評価表] "
    std::vector<const char*> formTexts;   // from fields 23, 64 and 66
    friend void PrintTo(const RunCase& c, std::ostream* os) { *os << c.fixture; }
};

class LevellingRunTest : public plugtest::RunFolderTest<RunCase> {
protected:
    LevellingRunTest() : RunFolderTest("levelling-run") {}
    bool Ok() const { return std::string(GetParam().message) == "処理が正常に行われました。"; }
};

TEST_P(LevellingRunTest, CalculatesFiguresPrintsEditsAndWritesCsv)
{
    const auto [calcCode, calc] = RunHost(GetParam().fixture, m_out / "calc", {"--docalc", "0x03"});
    EXPECT_EQ(calcCode == 0, Ok()) << calc;
    EXPECT_NE(calc.find(std::string("MSG[報告1 水準測量品質評価表] ") + GetParam().message), std::string::npos) << calc;

    const auto [figureCode, figure] = RunHost(GetParam().fixture, m_out / "figure", {"--docalc", "0x04"});
    EXPECT_EQ(figureCode, 0) << figure;

    const auto [csvCode, csvRun] = RunHost(GetParam().fixture, m_out / "csv", {"--csv"});
    EXPECT_EQ(csvCode == 0, Ok()) << csvRun;
    EXPECT_EQ(std::filesystem::exists(m_out / "csv/SUIHYO.CSV"), Ok());
    if (!Ok()) {
        EXPECT_NE(csvRun.find(std::string("MSG[水準測量品質評価表] ") + GetParam().message), std::string::npos) << csvRun;
    }

    // The seed's script switches the relative result to manual input and types it: the
    // evaluation then runs to the end whatever the siblings hold.
    const auto [editCode, edit] = RunHost(GetParam().fixture, m_out / "edit", {"--edit", "--csv"});
    ASSERT_EQ(editCode, 0) << edit;
    EXPECT_TRUE(std::filesystem::exists(m_out / "edit/edit.png"));
    EXPECT_TRUE(std::filesystem::exists(m_out / "edit/data/binder/common/SUIHYOUKA.ini"));
    EXPECT_TRUE(std::filesystem::exists(m_out / "edit/data/user/SUIHYOUKA.ini"));
    std::ifstream in(m_out / "edit/SUIHYO.CSV", std::ios::binary);
    const std::string csv(std::istreambuf_iterator<char>(in), {});
    std::size_t lines = 0;
    for (std::size_t at = csv.find("\r\n"); at != std::string::npos; at = csv.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 111u);
    EXPECT_NE(csv.find("\x8e\xe8\x93\xfc\x97\xcd"), std::string::npos);   // the typed result: "手入力" in CP932
    if (!Ok())
        return;

    const auto [formCode, form] = RunHost(GetParam().fixture, m_out / "form", {"--docalc", "0x12"});
    ASSERT_EQ(formCode, 0) << form;
    std::filesystem::path pdf;
    for (const auto& entry : std::filesystem::directory_iterator(m_out / "form"))
        if (entry.path().extension() == ".pdf")
            pdf = entry.path();
    ASSERT_FALSE(pdf.empty());
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QProcess text;
    text.start("pdftotext", {QString::fromStdString(pdf.string()), "-"});
    text.waitForFinished(60000);
    const std::string printed = text.readAllStandardOutput().toStdString();
    for (const char* expected : GetParam().formTexts)
        EXPECT_NE(printed.find(expected), std::string::npos) << expected << "\n" << printed;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, LevellingRunTest, ::testing::Values(
    RunCase{"grade1.json", "処理が正常に行われました。", {"往復観測：較差2.5mm√S以内", "既知点間閉合差", "1.23mm"}},
    RunCase{"grade2-precision4.json", "処理が正常に行われました。", {"往復観測：較差5mm√S以内", "較差3.6mm", "15.0mm"}},
    RunCase{"grade5.json", "処理が正常に行われました。", {"標準偏差40mm以内", "環閉合差"}},
    RunCase{"manual-switches.json", "処理が正常に行われました。",
            {"手入力の総位置要求", "手入力の相対要求", "手入力の相対結果"}},
    RunCase{"status1-network-other-grade.json", "等級区分が適合する水準網が指示されていません。", {}},
    RunCase{"status2-no-note.json",
            "指示された水準測量観測手簿について、等級区分が適合し、かつ計算できるものがありません。", {}},
    RunCase{"status4-route-network-missing.json",
            "指示された水準点検路線について、等級区分が適合し、かつ計算済みのものがありません。", {}}),
    [](const auto& info) {
        std::string name = info.param.fixture;
        name = name.substr(0, name.find('.'));
        for (char& c : name)
            if (c == '-')
                c = '_';
        return name;
    });

TEST(LevellingRunShotTest, PositionTabScreenshot)
{
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("levelling-run-shot-" + std::to_string(::getpid()));
    std::filesystem::remove_all(out);
    const auto [code, output] = RunHost(
        "grade1.json", out,
        {"--edit", "--script", QString::fromStdString((kSource / "examples/levelling/position-tab.json").string())});
    ASSERT_EQ(code, 0) << output;
    ASSERT_TRUE(std::filesystem::exists(out / "edit-steps.png")) << output;
    std::filesystem::copy_file(out / "edit-steps.png", kBinary / "levelling-position-tab.png",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove_all(out);
}

} // namespace

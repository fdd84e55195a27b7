// The plug-in driven end to end by the host stand-in, one run per fixture.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "../ParthostRun.h"

namespace {

const std::filesystem::path kSource = CTRLPOINT_SOURCE_DIR;
const std::filesystem::path kBinary = CTRLPOINT_BINARY_DIR;

using plugtest::HostRun;

HostRun Parthost(const std::string& fixture, const std::filesystem::path& out, const QStringList& options)
{
    return plugtest::RunParthost(kSource, kBinary, "ctrlpoint", "Mod00519.so", fixture, out, options);
}

std::string ReadBytes(const std::filesystem::path& file)
{
    return plugtest::ReadFileBytes(file);
}

std::string PdfText(const std::filesystem::path& pdf)
{
    QProcess process;
    process.start("pdftotext", {QString::fromStdString(pdf.string()), "-"});
    process.waitForFinished(60000);
    return process.readAllStandardOutput().toStdString();
}

struct RunCase {
    const char* fixture;
    const char* absoluteResult;   // the start of form field 63
    friend void PrintTo(const RunCase& c, std::ostream* os) { *os << c.fixture; }
};

class ControlPointRunTest : public plugtest::RunFolderTest<RunCase> {
protected:
    ControlPointRunTest() : RunFolderTest("ctrlpoint-run") {}
};

TEST_P(ControlPointRunTest, CalculatesFiguresAndPrints)
{
    const HostRun calc = Parthost(GetParam().fixture, m_out / "calc", {"--docalc", "0x03"});
    ASSERT_EQ(calc.exitCode, 0) << calc.output;
    EXPECT_NE(calc.output.find("MSG[基準点品質評価表 報告1] 処理が正常に行われました。"), std::string::npos)
        << calc.output;

    const HostRun figure = Parthost(GetParam().fixture, m_out / "figure", {"--docalc", "0x04"});
    EXPECT_EQ(figure.exitCode, 0) << figure.output;

    const HostRun form = Parthost(GetParam().fixture, m_out / "form", {"--docalc", "0x12"});
    ASSERT_EQ(form.exitCode, 0) << form.output;
    std::filesystem::path pdf;
    for (const auto& entry : std::filesystem::directory_iterator(m_out / "form"))
        if (entry.path().extension() == ".pdf")
            pdf = entry.path();
    ASSERT_FALSE(pdf.empty());
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("○○地区基準点測量"), std::string::npos);   // field 1
    EXPECT_NE(text.find(GetParam().absoluteResult), std::string::npos);   // field 63
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ControlPointRunTest,
                         ::testing::Values(RunCase{"strict-network.json", "水平位置の標準偏差1.2cm"},
                                           RunCase{"arbitrary-network.json", "方向角の残差4秒"},
                                           RunCase{"single-route.json", "方向角の残差3秒"}),
                         [](const auto& info) {
                             std::string name = info.param.fixture;
                             return name.substr(0, name.find('-'));
                         });

TEST(ControlPointRunEditTest, ScriptedEditStoresRecordsAndSettingsThenCsvIsRegistered)
{
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("ctrlpoint-run-edit-" + std::to_string(::getpid()));
    std::filesystem::remove_all(out);
    const HostRun run = Parthost("strict-network.json", out,
                             {"--edit", "--csv", "--script",
                              QString::fromStdString((kSource / "examples/ctrlpoint/edit-script.json").string())});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(std::filesystem::exists(out / "edit.png"));
    EXPECT_TRUE(std::filesystem::exists(out / "data/binder/common/KJNHYOUKA.ini"));
    EXPECT_TRUE(std::filesystem::exists(out / "data/user/KJNHYOUKA.ini"));
    EXPECT_NE(run.output.find("MSG[基準点品質評価表] 基準点品質評価表CSVファイル出力が終了しました"), std::string::npos);
    const std::string csv = ReadBytes(out / "KJNHYO.CSV");
    std::size_t lines = 0;
    for (std::size_t at = csv.find("\r\n"); at != std::string::npos; at = csv.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 111u);
    // The edited title and the typed absolute result (switch C manual) reach the file.
    const std::string edited = ReadBytes(kSource / "examples/ctrlpoint/expected/KJNHYO.CSV");
    EXPECT_NE(csv, edited);
    EXPECT_NE(csv.find("\x8e\xe8\x93\xfc\x97\xcd"), std::string::npos);   // "手入力" in CP932
    std::filesystem::remove_all(out);
}

TEST(ControlPointRunEditTest, WrongGradeFailsWithItsMessage)
{
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("ctrlpoint-run-wrong-" + std::to_string(::getpid()));
    std::filesystem::remove_all(out);
    const HostRun run = Parthost("wrong-grade.json", out, {"--docalc", "0x03"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find("等級区分が適合しない点検計算パートが指示されています。"), std::string::npos) << run.output;
    std::filesystem::remove_all(out);
}

} // namespace

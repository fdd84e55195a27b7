// Seeds with values no evaluation can use, run through parthost: a value of the wrong
// kind is refused by the seed reader with its record and field named; a number the
// form or the CSV cannot hold ends the command with its failure message. In every case
// no form and no CSV file is left behind.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>
#include <functional>

#include "../ParthostRun.h"
#include "SeedEdit.h"

namespace {

using namespace formtest;

struct Case {
    const char* name;
    const char* plugin;
    const char* module;
    const char* seed;
    std::function<void(QJsonObject&)> change;
    const char* option;    // --form or --csv
    const char* expected;  // a line the run prints
};

// The files a run leaves: forms, CSVs and the binder's copies, wherever under the run's folder.
std::vector<std::string> OutputFiles(const std::filesystem::path& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".pdf" || ext == ".CSV" || ext == ".csv")
            found.push_back(entry.path().string());
    }
    return found;
}

class RefusedValuesTest : public plugtest::RunFolderTest<Case> {
protected:
    RefusedValuesTest() : RunFolderTest("refused-values") {}
};

TEST_P(RefusedValuesTest, EndsWithItsMessageAndLeavesNoOutputFile)
{
    const Case& c = GetParam();
    QJsonObject seed = ReadSeed(c.plugin, c.seed);
    c.change(seed);
    const std::filesystem::path seedFile = WriteSeed(seed, m_out);
    const std::filesystem::path run = m_out / "run";
    // An absolute fixture path stands in for examples/<plug-in>/<seed>.
    const plugtest::HostRun result =
        plugtest::RunParthost(kSource, kBinary, c.plugin, c.module, seedFile.string(), run, {c.option});
    EXPECT_NE(result.exitCode, 0) << result.output;
    EXPECT_NE(result.exitCode, -1) << result.output;
    // The failure is the last word the person gets.
    const auto said = result.output.find(c.expected);
    const auto lastMessage = result.output.rfind("MSG[");
    EXPECT_NE(said, std::string::npos) << result.output;
    EXPECT_TRUE(lastMessage == std::string::npos || said >= lastMessage) << result.output;
    EXPECT_EQ(result.output.find("出力が終了しました"), std::string::npos) << result.output;
    if (std::filesystem::exists(run)) {
        EXPECT_TRUE(OutputFiles(run).empty()) << ::testing::PrintToString(OutputFiles(run));
    }
}

const Case kCases[] = {
    {"closure_as_text", "levelling", "Mod00963.so", "grade1.json",
     [](QJsonObject& s) { SetAnswer(s, 300, "SISDO_ROUTE", "3.0"); }, "--form",
     "ERROR answers[3] (part 300): table SISDO_ROUTE row 0 field 0: \"3.0\" where a number is due"},
    {"grade_as_text", "levelling", "Mod00963.so", "grade1.json",
     [](QJsonObject& s) { SetRecordField(s, 0, "F1", 8, "1"); }, "--csv",
     "ERROR parts[0] (program 963, address 1): record F1 field 8: \"1\" where a whole number"},
    {"grade_past_a_short", "levelling", "Mod00963.so", "grade1.json",
     [](QJsonObject& s) { SetRecordField(s, 0, "F1", 8, 70000); }, "--form",
     "record F1 field 8: 70000 where a whole number from -32768 to 32767 is due"},
    {"product_name_as_number", "ctrlpoint", "Mod00519.so", "strict-network.json",
     [](QJsonObject& s) { SetRecordField(s, 0, "F1", 0, 12); }, "--form",
     "record F1 field 0: 12 where a text is due"},
    {"closure_1e300_form", "levelling", "Mod00963.so", "grade1.json",
     [](QJsonObject& s) { SetAnswer(s, 300, "SISDO_ROUTE", 1e300); }, "--form",
     "帳票の欄に入らない長さの値があります"},
    {"closure_1e300_csv", "levelling", "Mod00963.so", "grade1.json",
     [](QJsonObject& s) { SetAnswer(s, 300, "SISDO_ROUTE", 1e300); }, "--csv", "ライトエラーが発生しました"},
    {"deviation_1e300_ctrlpoint_form", "ctrlpoint", "Mod00519.so", "strict-network.json",
     [](QJsonObject& s) { SetAnswer(s, 10, "TENKEN", 1e300, 1); }, "--form", "帳票の欄に入らない長さの値があります"},
    {"deviation_1e300_ctrlpoint_csv", "ctrlpoint", "Mod00519.so", "strict-network.json",
     [](QJsonObject& s) { SetAnswer(s, 10, "TENKEN", 1e300, 1); }, "--csv", "ライトエラーが発生しました"},
    {"vector_1e300_gnss_form", "gnss", "Mod04827.so", "control_survey.json",
     [](QJsonObject& s) { SetAnswer(s, 10, "ans", 1e300); }, "--form", "帳票の欄に入らない長さの値があります"},
    {"vector_1e300_gnss_csv", "gnss", "Mod04827.so", "control_survey.json",
     [](QJsonObject& s) { SetAnswer(s, 10, "ans", 1e300); }, "--csv", "ライトエラーが発生しました"},
    {"grade_9_ctrlpoint_manual_texts", "ctrlpoint", "Mod00519.so", "strict-network.json",
     [](QJsonObject& s) {
         SetRecordField(s, 0, "F1", 8, 9);
         for (const int manualSwitch : {0, 5, 7, 10})   // every positional text typed by hand
             SetRecordField(s, 0, "F03", manualSwitch, 1);
     },
     "--csv", "計算データの取得に失敗しました。"},
    {"grade_9_form", "levelling", "Mod00963.so", "manual-switches.json",
     [](QJsonObject& s) { SetRecordField(s, 0, "F1", 8, 9); }, "--form", "計算データの取得に失敗しました。"},
    {"grade_9_csv", "levelling", "Mod00963.so", "manual-switches.json",
     [](QJsonObject& s) { SetRecordField(s, 0, "F1", 8, 9); }, "--csv", "計算データの取得に失敗しました。"},
};

INSTANTIATE_TEST_SUITE_P(Seeds, RefusedValuesTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

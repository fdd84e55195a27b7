#include "HostTestSupport.h"

#include "hostfw/CPartDB.h"
#include "hostfw/CSiblingDB.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PartSystemSeed.h"
#include "hostfw/PeldaIni.h"

namespace {

using SeedTest = HostTest;

constexpr const char* kSeed = R"({
  "programs": { "519": "基準点品質評価表" },
  "parts": [
    { "program": 519, "address": 2, "name": "表", "records": { "F2": [[1, 1]], "R3": [[40], [41]] } },
    { "program": 1234, "address": 40, "records": { "Ks": [["点1", 2.5]] } }
  ],
  "answers": [ { "part": 40, "table": "Avg", "rows": [[0.0125, -3, "x"]] } ],
  "conditions": [ { "name": "JSUIKOUSA", "key": 1, "value": { "loop": [2, 5] } } ],
  "files": [ { "folder": "settings", "name": "KjnHyoCmb.ini", "lines": ["[KJNHYOCMB]", "完全総括_max=1"] } ],
  "script": { "messages": [6] }
})";

TEST_F(SeedTest, BuildsPartsAnswersConditionsAndFiles)
{
    PartSystemSeed seed;
    std::string error;
    ASSERT_TRUE(seed.Parse(kSeed, error)) << error;
    auto system = seed.Apply(Root() / "ps.db", error);
    ASSERT_TRUE(system) << error;

    PartData part;
    ASSERT_TRUE(CPartDB(system.get(), 519).Get(2, &part, 0));
    EXPECT_EQ(part.RowCount("R3"), 2u);
    CSiblingDB handbooks(system.get(), 1234);
    PartData handbook;
    ASSERT_TRUE(handbooks.Get(40, handbook, 0));
    PartRecord ks;
    ASSERT_TRUE(handbook.GetRecord("Ks", 0, ks));
    EXPECT_DOUBLE_EQ(ks.Double(1), 2.5);
    const auto answers = handbooks.GetAnswers(40, "Avg");
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_DOUBLE_EQ(answers[0].Double(0), 0.0125);
    EXPECT_EQ(answers[0].Long(1), -3);
    EXPECT_EQ(answers[0].Text(2), "x");
    EXPECT_TRUE(handbooks.GetAnswers(2, "Avg").empty()) << "a part of another program has none";
    EXPECT_EQ(system->Condition("JSUIKOUSA", 1).value_or(""), R"({"loop":[2,5]})");
    EXPECT_EQ(ReadFile(Root() / "settings" / "KjnHyoCmb.ini"),
              "[KJNHYOCMB]\r\n\x8a\xae\x91\x53\x91\x8d\x8a\x87_max=1\r\n");
    EXPECT_NE(seed.ScriptJson().find("messages"), std::string::npos);
}

struct BadSeed {
    const char* name;
    const char* json;
};

class BadSeedTest : public HostTest, public ::testing::WithParamInterface<BadSeed> {};

TEST_P(BadSeedTest, IsRefusedWholeAndKeepsTheOldSystem)
{
    const auto file = Root() / "ps.db";
    {
        PartSystemSeed good;
        std::string error;
        ASSERT_TRUE(good.Parse(kSeed, error));
        ASSERT_TRUE(good.Apply(file, error)) << error;
    }
    PartSystemSeed seed;
    std::string error;
    std::unique_ptr<PartSystem> system;
    if (seed.Parse(GetParam().json, error))
        system = seed.Apply(file, error);
    EXPECT_FALSE(system);
    EXPECT_FALSE(error.empty());
    auto old = PartSystem::Open(file, false, error);
    ASSERT_TRUE(old) << error;
    EXPECT_TRUE(old->ProgramOf(2).has_value()) << "the previous part system is intact";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadSeedTest,
    ::testing::Values(BadSeed{"not_json", "{ parts: "},
                      BadSeed{"no_address", R"({"parts":[{"program":519}]})"},
                      BadSeed{"text_in_short", R"({"parts":[{"program":519,"address":1,"records":{"F2":[["x"]]}}]})"},
                      BadSeed{"text_in_answer", R"({"answers":[{"part":5,"table":"SISDO_ROUTE","rows":[["3.0"]]}]})"},
                      BadSeed{"text_in_second_answer_row",
                              R"({"answers":[{"part":5,"table":"SUISYUBO","rows":[[1,2.5],[2,"x"]]}]})"},
                      BadSeed{"number_in_text", R"({"parts":[{"program":963,"address":1,"records":{"F1":[[12]]}}]})"},
                      BadSeed{"short_out_of_range", R"({"parts":[{"program":519,"address":1,"records":{"F2":[[70000]]}}]})"},
                      BadSeed{"fraction_in_short", R"({"parts":[{"program":519,"address":1,"records":{"F2":[[1.5]]}}]})"},
                      BadSeed{"unknown_record", R"({"parts":[{"program":4827,"address":1,"records":{"F9":[[1]]}}]})"},
                      BadSeed{"two_rows_plain", R"({"parts":[{"program":963,"address":1,"records":{"F2":[[1],[2]]}}]})"},
                      BadSeed{"bad_folder", R"({"files":[{"folder":"/etc","name":"x","lines":[]}]})"},
                      BadSeed{"path_in_name", R"({"files":[{"folder":"settings","name":"../x","lines":[]}]})"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SeedTest, UnknownFolderCodesFail)
{
    std::string path;
    EXPECT_FALSE(PeldaIni::GetPeldaPath(0x12345, path));
    EXPECT_TRUE(path.empty());
    ASSERT_TRUE(PeldaIni::GetPeldaPath(PeldaIni::kSettingsFolder, path));
    EXPECT_EQ(path, (Root() / "settings").string());
    EXPECT_EQ(JoinHostPath("/a/b", "\\GPSHYOUKA.ini"), "/a/b/GPSHYOUKA.ini");
}

} // namespace

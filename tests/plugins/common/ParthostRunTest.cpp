#include "HostTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

namespace {

struct RunResult {
    int exitCode = -1;
    std::string output;
};

RunResult RunParthost(const std::string& arguments)
{
    const std::string command = std::string("env -u PARTHOST_DATA_DIR QT_QPA_PLATFORM=offscreen '") +
                                TESSARA_TEST_PARTHOST + "' " + arguments + " 2>/dev/null";
    RunResult result;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            result.output.append(buffer, n);
        const int status = pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return result;
}

std::string SeedPath()
{
    const char* dir = std::getenv("TESSARA_SOURCE_DIR");
    return std::string(dir ? dir : ".") + "/examples/parthost/testplugin.json";
}

std::string Plugin(const char* name)
{
    return std::string(TESSARA_TEST_PLUGIN_DIR) + "/" + name;
}

using ParthostRunTest = HostTest;

TEST_F(ParthostRunTest, DrivesTheTestPluginEndToEnd)
{
    const std::string out = (Root() / "out").string();
    const RunResult run = RunParthost("--seed '" + SeedPath() + "' --plugin '" + Plugin("ModTestA.so") + "' --out '" +
                                      out + "' --docalc 0x03 --form --edit --csv");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("MSG[報告1 テスト評価表A [A]] 処理が正常に行われました。\nDOCALC 0x3 = 0x0"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("DOCALC 0x12 = 0x0"), std::string::npos);
    EXPECT_NE(run.output.find("WINDOWEDIT = 1"), std::string::npos);
    EXPECT_NE(run.output.find("MSG[テスト評価表] テスト評価表CSVファイル出力が終了しました"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(Root() / "out" / "form09101_表題1.pdf"));
    EXPECT_TRUE(std::filesystem::exists(Root() / "out" / "edit.png"));
    const std::string csv = ReadFile(Root() / "out" / "TESTHYO.CSV");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 111);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\r'), 111);
}

TEST_F(ParthostRunTest, AFailedCallMakesTheExitCodeNonZero)
{
    std::string seed = ReadFile(SeedPath());
    seed.replace(seed.find("\"part\": 1 }"), 11, "\"part\": 2 }");
    const auto seedFile = WriteFile("seed.json", seed);
    const std::string out = (Root() / "out").string();
    const RunResult run = RunParthost("--seed '" + seedFile.string() + "' --plugin '" + Plugin("ModTestA.so") +
                                      "' --out '" + out + "' --docalc 3");
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("MSG[報告2 テスト評価表A [A]] 製品名がありません。\nDOCALC 0x3 = 0x4"),
              std::string::npos)
        << run.output;

    const RunResult missing = RunParthost("--seed '" + seedFile.string() + "' --plugin '" + out +
                                          "/none.so' --out '" + out + "'");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.output.find("ERROR cannot load the plug-in"), std::string::npos);
    EXPECT_EQ(RunParthost("--seed x").exitCode, 2) << "usage";

    // A script file in place of the seed's own: a cancelled file choice stores nothing.
    const auto script = WriteFile("script.json", R"({ "chooser": [null] })");
    const RunResult csv = RunParthost("--seed '" + SeedPath() + "' --plugin '" + Plugin("ModTestA.so") + "' --out '" +
                                      out + "' --csv --script '" + script.string() + "'");
    EXPECT_EQ(csv.exitCode, 1) << csv.output;
    EXPECT_NE(csv.output.find("CHOOSE (cancelled)\nMSG[テスト評価表] 出力を中止しました。"), std::string::npos)
        << csv.output;
}

} // namespace

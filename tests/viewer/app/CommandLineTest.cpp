#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "viewer/app/CVCommandLineInfo.h"

namespace {

namespace fs = std::filesystem;

// Two existing folders; "{A}" and "{B}" in a case stand for them.
class CommandLineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::string pattern = "/tmp/tessara-cmdline-XXXXXX";
        s_root = mkdtemp(pattern.data());
        fs::create_directories(s_root + "/site1");
        fs::create_directories(s_root + "/site2");
    }
    static void TearDownTestSuite() { fs::remove_all(s_root); }

    static std::string Expand(const std::string& text)
    {
        std::string out = text;
        for (const auto& [token, path] : {std::pair<std::string, std::string>{"{A}", s_root + "/site1"},
                                          std::pair<std::string, std::string>{"{B}", s_root + "/site2"}}) {
            for (std::size_t at = out.find(token); at != std::string::npos; at = out.find(token)) {
                out.replace(at, token.size(), path);
            }
        }
        return out;
    }

    static inline std::string s_root;
};

struct LineCase {
    const char* name;
    std::vector<const char*> arguments;
    bool valid;
    const char* folder;   // expected work folder when valid
};

class CommandLineCaseTest : public CommandLineTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(CommandLineCaseTest, StartsOrEndsSilently)
{
    std::vector<std::string> arguments;
    for (const char* argument : GetParam().arguments) arguments.push_back(Expand(argument));
    LaunchArgs launch;
    CVCommandLineInfo info(launch);
    info.ParseArguments(arguments);
    EXPECT_EQ(info.Valid(), GetParam().valid);
    if (GetParam().valid) {
        EXPECT_EQ(launch.folder, Expand(GetParam().folder));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineCaseTest,
    ::testing::Values(LineCase{"slash_v_then_absolute_folder", {"/V", "{A}"}, true, "{A}/"},
                      LineCase{"dash_v", {"-v", "{A}"}, true, "{A}/"},
                      LineCase{"switch_after_folder", {"{A}", "-x"}, true, "{A}/"},
                      LineCase{"slash_x_after_folder", {"{A}", "/X"}, true, "{A}/"},
                      LineCase{"only_first_character_counts", {"/Vfoo", "{A}"}, true, "{A}/"},
                      LineCase{"trailing_separator_doubles", {"/V", "{A}/"}, true, "{A}//"},
                      LineCase{"switch_alone", {"/V"}, false, ""},
                      LineCase{"folder_without_switch", {"{A}"}, false, ""},
                      LineCase{"two_folders", {"/V", "{A}", "{B}"}, false, ""},
                      LineCase{"unknown_switch_first", {"/Q", "/V", "{A}"}, false, ""},
                      LineCase{"missing_folder", {"/V", "{A}/nothing-here"}, false, ""},
                      LineCase{"no_arguments", {}, false, ""},
                      LineCase{"empty_argument", {"/V", ""}, false, ""},
                      LineCase{"relative_folder", {"-V", "."}, true, "./"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandLineTest, AnExistingPathStartingWithASlashIsAFolderNotASwitch)
{
    // "/V..." would be the V switch; an existing folder of that name is a folder.
    const std::string odd = s_root + "/V";
    fs::create_directories(odd);
    LaunchArgs launch;
    CVCommandLineInfo info(launch);
    info.ParseArguments({"-x", odd});
    EXPECT_TRUE(info.Valid());
    EXPECT_EQ(launch.folder, odd + "/");
}

}  // namespace

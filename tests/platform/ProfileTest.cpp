#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tessara {
namespace {

// Runs the same round trip on the INI-file profile and the in-memory double.
class ProfileRoundTripTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        m_iniPath = TempFolder() + "profile-test-" + std::to_string(::getpid()) + ".ini";
        ::unlink(m_iniPath.c_str());
        if (GetParam()) {
            m_profile = IniProfile::AtPath(m_iniPath);
        } else {
            m_profile = std::make_unique<MemoryProfile>();
        }
    }
    void TearDown() override
    {
        m_profile.reset();
        ::unlink(m_iniPath.c_str());
    }
    // The INI profile is read back through a second instance, from the file.
    std::unique_ptr<IProfile> Reopened()
    {
        if (GetParam()) {
            return IniProfile::AtPath(m_iniPath);
        }
        return nullptr;
    }

    std::string m_iniPath;
    std::unique_ptr<IProfile> m_profile;
};

TEST_P(ProfileRoundTripTest, ValuesSurvive)
{
    IProfile& p = *m_profile;
    ASSERT_TRUE(p.WriteProfileInt("SectionGlView", "psKeyBackColor", 2));
    ASSERT_TRUE(p.WriteProfileInt("SectionGlView", "Negative", -12345));
    ASSERT_TRUE(p.WriteProfileString("SectionGlView", "LxProjectname", "点群, 測量 \"A\""));
    ASSERT_TRUE(p.WriteProfileDouble("SectionGlView", "Tiny", 1e-7));
    ASSERT_TRUE(p.WriteProfileDouble("SectionGlView", "Third", 1.0 / 3.0));
    ASSERT_TRUE(p.WriteProfileDouble("VurXyzExport", "psKeyScale", -2.45));

    const std::unique_ptr<IProfile> reopened = Reopened();
    IProfile& r = reopened ? *reopened : p;
    EXPECT_EQ(r.GetProfileInt("SectionGlView", "psKeyBackColor", 0), 2);
    EXPECT_EQ(r.GetProfileInt("SectionGlView", "Negative", 0), -12345);
    EXPECT_EQ(r.GetProfileString("SectionGlView", "LxProjectname"), "点群, 測量 \"A\"");
    EXPECT_EQ(r.GetProfileDouble("SectionGlView", "Tiny", 0.0), 1e-7);
    EXPECT_EQ(r.GetProfileDouble("SectionGlView", "Third", 0.0), 1.0 / 3.0);
    EXPECT_EQ(r.GetProfileDouble("VurXyzExport", "psKeyScale", 0.0), -2.45);
}

TEST_P(ProfileRoundTripTest, MissingAndUnreadableValuesGiveTheDefault)
{
    IProfile& p = *m_profile;
    EXPECT_EQ(p.GetProfileInt("SectionGlView", "Missing", 210), 210);
    EXPECT_EQ(p.GetProfileString("SectionGlView", "Missing", "def"), "def");
    EXPECT_EQ(p.GetProfileDouble("SectionGlView", "Missing", 100.0), 100.0);
    p.WriteProfileString("SectionGlView", "Text", "abc");
    p.WriteProfileString("SectionGlView", "Empty", "");
    EXPECT_EQ(p.GetProfileInt("SectionGlView", "Text", 7), 7);
    EXPECT_EQ(p.GetProfileDouble("SectionGlView", "Text", 1.5), 1.5);
    EXPECT_EQ(p.GetProfileDouble("SectionGlView", "Empty", 1.5), 1.5);
    EXPECT_EQ(p.GetProfileString("SectionGlView", "Empty", "def"), "");
}

TEST_P(ProfileRoundTripTest, ReadsTheOldSixDecimalDoubleText)
{
    IProfile& p = *m_profile;
    p.WriteProfileString("SectionGlView", "DrawTinOpExcTrilen", "100.000000");
    p.WriteProfileString("SectionGlView", "ViewPectiveEx", "-0.500000");
    EXPECT_EQ(p.GetProfileDouble("SectionGlView", "DrawTinOpExcTrilen", 0.0), 100.0);
    EXPECT_EQ(p.GetProfileDouble("SectionGlView", "ViewPectiveEx", 0.0), -0.5);
}

INSTANTIATE_TEST_SUITE_P(Profiles, ProfileRoundTripTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Ini" : "Memory"; });

TEST(IniProfileTest, LivesUnderTheApplicationKey)
{
    const IniProfile profile;
    EXPECT_NE(profile.FilePath().find("/Bralden/QuonEditorView.ini"), std::string::npos) << profile.FilePath();
}

TEST(IniProfileTest, ReadsAHandWrittenFile)
{
    const std::string path = TempFolder() + "profile-hand-" + std::to_string(::getpid()) + ".ini";
    ASSERT_TRUE(AtomicWriteFile(path, "[SectionGlView]\nViewPointSize=-3\nLxName=a, b\nScale=0.001000\n"));
    const auto profile = IniProfile::AtPath(path);
    EXPECT_EQ(profile->GetProfileInt("SectionGlView", "ViewPointSize", 0), -3);
    EXPECT_EQ(profile->GetProfileString("SectionGlView", "LxName"), "a, b");
    EXPECT_EQ(profile->GetProfileDouble("SectionGlView", "Scale", 0.0), 0.001);
    ::unlink(path.c_str());
}

TEST(IniProfileTest, UnwritableFileReportsFailedWrites)
{
    const auto profile = IniProfile::AtPath("/proc/tessara-profile-test/QuonEditorView.ini");
    EXPECT_FALSE(profile->WriteProfileInt("SectionGlView", "psKeyBackColor", 1));
    EXPECT_EQ(profile->GetProfileInt("SectionGlView", "Missing", 5), 5);
}

unsigned ModeOf(const std::string& folder)
{
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

TEST(IniProfileTest, FirstWriteMakesTheMissingFoldersPrivateToTheUser)
{
    const std::string base = TempFolder() + "profile-first-run-" + std::to_string(::getpid());
    std::filesystem::remove_all(base);
    const std::string config = base + "/config";
    const std::string folder = config + "/Bralden";
    const auto profile = IniProfile::AtPath(folder + "/QuonEditorView.ini");
    EXPECT_EQ(profile->GetProfileInt("SectionGlView", "ViewPointSize", 7), 7);
    EXPECT_FALSE(FolderExists(config));

    ASSERT_TRUE(profile->WriteProfileInt("SectionGlView", "ViewPointSize", 4));
    EXPECT_EQ(ModeOf(config), 0700u);
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(IniProfile::AtPath(folder + "/QuonEditorView.ini")->GetProfileInt("SectionGlView", "ViewPointSize", 0), 4);
    std::filesystem::remove_all(base);
}

TEST(IniProfileTest, AProfileThatCannotBeWrittenIsToldOnceAndEveryWriteFails)
{
    const auto boxes = std::make_shared<ScriptedMessageBoxes>();
    const auto previous = SetMessageBoxService(boxes);
    std::vector<std::string> lines;
    const LogSink previousSink = SetLogSink([&lines](std::string_view line) { lines.emplace_back(line); });
    // A plain file where the folder should be: no folder can be made there.
    const std::string blocker = TempFolder() + "profile-blocked-" + std::to_string(::getpid());
    ASSERT_TRUE(AtomicWriteFile(blocker, "not a folder"));
    const auto profile = IniProfile::AtPath(blocker + "/Bralden/QuonEditorView.ini");

    EXPECT_FALSE(profile->WriteProfileInt("SectionGlView", "ViewGrid", 0));
    EXPECT_FALSE(profile->WriteProfileDouble("SectionGlView", "psKeyOfset", 0.5));
    EXPECT_FALSE(profile->WriteProfileString("Recent File List", "File1", "/d/a.tpf"));

    SetLogSink(previousSink);
    SetMessageBoxService(previous);
    ::unlink(blocker.c_str());
    ASSERT_EQ(boxes->ShownBoxes().size(), 1u);
    EXPECT_NE(boxes->ShownBoxes()[0].text.find(blocker + "/Bralden/QuonEditorView.ini"), std::string::npos);
    EXPECT_NE(boxes->ShownBoxes()[0].text.find("設定ファイルに書き込めませんでした"), std::string::npos);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("cannot be written"), std::string::npos);
}

TEST(RecentFileListTest, KeepsFourNewestFirstWithoutDuplicates)
{
    MemoryProfile profile;
    RecentFileList list(&profile);
    for (const char* path : {"/d/a.tpf", "/d/b.tpf", "/d/c.tpf", "/d/d.tpf", "/d/e.tpf", "/d/c.tpf"}) {
        list.Add(path);
    }
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/d/c.tpf", "/d/e.tpf", "/d/d.tpf", "/d/b.tpf"}));
    ASSERT_TRUE(list.WriteList());
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1"), "/d/c.tpf");

    list.Remove(0);
    ASSERT_TRUE(list.WriteList());
    RecentFileList again(&profile);
    again.ReadList();
    EXPECT_EQ(again.Entries(), (std::vector<std::string>{"/d/e.tpf", "/d/d.tpf", "/d/b.tpf"}));
}

TEST(AppProfileTest, NullUntilInstalled)
{
    SetAppProfile(nullptr);
    EXPECT_EQ(AppProfile(), nullptr);
    auto profile = std::make_shared<MemoryProfile>();
    SetAppProfile(profile);
    EXPECT_EQ(AppProfile(), profile.get());
    SetAppProfile(nullptr);
}

} // namespace
} // namespace tessara

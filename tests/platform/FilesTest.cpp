#include "platform/Files.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessara {
namespace {

// A scratch folder inside the temp folder, removed with its files.
class FilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = TempFolder() + "files-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern + '/';
    }
    void TearDown() override
    {
        for (const FileEntry& file : ListFiles(m_dir, "")) {
            ::unlink(file.path.c_str());
        }
        ::rmdir(m_dir.c_str());
    }
    std::string m_dir;
};

TEST(TempFolderTest, IsPrivateWithTrailingSlash)
{
    const std::string folder = TempFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_uid, ::getuid());
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(TempFolderTest, RefusesAFolderOpenToOthers)
{
    std::string base = "/tmp/tessara-tmpdir-XXXXXX";
    ASSERT_NE(::mkdtemp(base.data()), nullptr);
    const std::string usual = base + "/tessara-" + std::to_string(::getuid());
    ASSERT_EQ(::mkdir(usual.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(usual.c_str(), 0777), 0);    // as someone else could have left it

    const char* previous = std::getenv("TMPDIR");
    const std::string saved = previous ? previous : "";
    ::setenv("TMPDIR", base.c_str(), 1);
    const std::string folder = TempFolder();
    previous ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");

    EXPECT_NE(folder, usual + '/');
    EXPECT_EQ(folder.rfind(base + "/tessara-", 0), 0u) << folder;
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ::rmdir(folder.c_str());
    ::rmdir(usual.c_str());
    ::rmdir(base.c_str());
}

TEST(TempFolderTest, MissingTmpdirFallsBackToTmp)
{
    const char* previous = std::getenv("TMPDIR");
    const std::string saved = previous ? previous : "";
    ::setenv("TMPDIR", "/nonexistent/tessara-tmpdir", 1);
    const std::string folder = TempFolder();
    previous ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");
    EXPECT_EQ(folder.rfind("/tmp/tessara-", 0), 0u) << folder;
}

TEST_F(FilesTest, AtomicWriteReplacesAndLeavesNoTemporaryFile)
{
    const std::string path = m_dir + "model.tpf";
    ASSERT_TRUE(AtomicWriteFile(path, "old"));
    ASSERT_TRUE(AtomicWriteFile(path, "new contents"));
    EXPECT_EQ(ReadWholeFile(path), "new contents");
    EXPECT_EQ(ListFiles(m_dir, "").size(), 1u);
}

TEST_F(FilesTest, UncommittedWriterKeepsThePreviousFile)
{
    const std::string path = m_dir + "model.tpf";
    ASSERT_TRUE(AtomicWriteFile(path, "previous"));
    {
        AtomicFileWriter writer(path);
        ASSERT_TRUE(writer.Open());
        ASSERT_TRUE(writer.Write("half of the new"));
        // Abandoned, as when a save fails halfway.
    }
    EXPECT_EQ(ReadWholeFile(path), "previous");
    EXPECT_EQ(ListFiles(m_dir, "").size(), 1u);
}

TEST_F(FilesTest, WriteIntoMissingFolderFails)
{
    EXPECT_FALSE(AtomicWriteFile(m_dir + "no-such-folder/a.txt", "x"));
}

TEST_F(FilesTest, CopyRenameDelete)
{
    const std::string a = m_dir + "a.dat";
    const std::string b = m_dir + "b.dat";
    const std::string c = m_dir + "c.dat";
    ASSERT_TRUE(AtomicWriteFile(a, "A"));
    ASSERT_TRUE(AtomicWriteFile(b, "B"));
    EXPECT_TRUE(CopyFileOver(a, b));
    EXPECT_EQ(ReadWholeFile(b), "A");
    EXPECT_TRUE(RenameOver(b, c));
    EXPECT_FALSE(FileExists(b));
    EXPECT_EQ(ReadWholeFile(c), "A");
    EXPECT_TRUE(DeleteFile(c));
    EXPECT_FALSE(FileExists(c));
    EXPECT_FALSE(DeleteFile(c));
    EXPECT_FALSE(CopyFileOver(m_dir + "missing", a));
    EXPECT_EQ(ReadWholeFile(a), "A");
    EXPECT_FALSE(RenameOver(m_dir + "missing", a));
    EXPECT_TRUE(FileExists(a));
    EXPECT_FALSE(FileExists(m_dir));
    EXPECT_TRUE(FolderExists(m_dir));
}

TEST_F(FilesTest, ListsByExtensionIgnoringCaseWithTimes)
{
    for (const char* name : {"b.TPF", "a.tpf", "c.txt", "tpf", "d.xtpf"}) {
        ASSERT_TRUE(AtomicWriteFile(m_dir + name, "1234"));
    }
    ASSERT_EQ(::mkdir((m_dir + "e.tpf").c_str(), 0700), 0);
    const auto files = ListFiles(m_dir, ".tpf");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "a.tpf");
    EXPECT_EQ(files[1].name, "b.TPF");
    EXPECT_EQ(files[1].path, m_dir + "b.TPF");
    EXPECT_EQ(files[0].sizeBytes, 4u);
    const auto age = std::chrono::system_clock::now() - files[0].lastWrite;
    EXPECT_LT(std::chrono::abs(age), std::chrono::minutes(5));
    EXPECT_EQ(ListFiles(m_dir, "tpf").size(), 2u);
    EXPECT_TRUE(ListFiles(m_dir + "missing", "tpf").empty());
    ::rmdir((m_dir + "e.tpf").c_str());
}

TEST_F(FilesTest, FreeBytes)
{
    const auto free = FreeBytes(m_dir);
    ASSERT_TRUE(free);
    EXPECT_GT(*free, 0u);
    EXPECT_FALSE(FreeBytes(m_dir + "missing/"));
}

} // namespace
} // namespace tessara

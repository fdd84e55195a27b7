#include "platform/RuntimeFolder.h"
#include "platform/SingleInstance.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tessara {
namespace {

// Points the runtime folder at a fresh private folder for one test.
class RuntimeFolderScope {
public:
    RuntimeFolderScope()
    {
        std::string pattern = "/tmp/tessara-run-test-XXXXXX";
        m_folder = ::mkdtemp(pattern.data()) ? pattern : "";
        const char* previous = std::getenv("TESSARA_PIPE_DIR");
        if (previous) {
            m_previous = previous;
        }
        ::setenv("TESSARA_PIPE_DIR", m_folder.c_str(), 1);
    }
    ~RuntimeFolderScope()
    {
        m_previous ? ::setenv("TESSARA_PIPE_DIR", m_previous->c_str(), 1) : ::unsetenv("TESSARA_PIPE_DIR");
        const std::string command = "rm -rf '" + m_folder + "'";
        [[maybe_unused]] const int ignored = std::system(command.c_str());
    }
    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
    std::optional<std::string> m_previous;
};

TEST(SingleInstanceTest, RefusesASecondHolderUntilTheFirstEnds)
{
    const RuntimeFolderScope scope;
    {
        const SingleInstanceGuard first(SingleInstanceGuard::kViewerName);
        EXPECT_TRUE(first.Held());
        EXPECT_FALSE(first.AlreadyExists());
        const SingleInstanceGuard second(SingleInstanceGuard::kViewerName);
        EXPECT_TRUE(second.AlreadyExists());
        EXPECT_FALSE(second.Held());
        const SingleInstanceGuard other("OtherProgram.exe");
        EXPECT_TRUE(other.Held());
    }
    const SingleInstanceGuard again(SingleInstanceGuard::kViewerName);
    EXPECT_TRUE(again.Held());
}

TEST(RuntimeFolderTest, RefusesAFolderOpenToOthers)
{
    const RuntimeFolderScope scope;
    ASSERT_EQ(RuntimeFolder(), scope.Folder());
    ASSERT_EQ(::chmod(scope.Folder().c_str(), 0755), 0);
    std::string error;
    EXPECT_EQ(RuntimeFolder(&error), std::nullopt);
    EXPECT_NE(error.find("closed to others"), std::string::npos) << error;
}

TEST(RuntimeFolderTest, RefusesALinkToAFolder)
{
    const RuntimeFolderScope scope;
    const std::string link = scope.Folder() + "/link";
    ASSERT_EQ(::mkdir((scope.Folder() + "/real").c_str(), 0700), 0);
    ASSERT_EQ(::symlink((scope.Folder() + "/real").c_str(), link.c_str()), 0);
    ::setenv("TESSARA_PIPE_DIR", link.c_str(), 1);
    EXPECT_EQ(RuntimeFolder(), std::nullopt);
}

TEST(RuntimeFolderTest, MakesAMissingFolderPrivate)
{
    const RuntimeFolderScope scope;
    const std::string inner = scope.Folder() + "/inner";
    ::setenv("TESSARA_PIPE_DIR", inner.c_str(), 1);
    ASSERT_EQ(RuntimeFolder(), inner);
    struct stat info {};
    ASSERT_EQ(::stat(inner.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

} // namespace
} // namespace tessara

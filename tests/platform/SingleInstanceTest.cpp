#include "platform/RuntimeFolder.h"
#include "platform/SingleInstance.h"
#include "RuntimeFolderScope.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tessara {
namespace {

using test::RuntimeFolderScope;

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

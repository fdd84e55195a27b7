#include "viewer/dialogs/BitmapFile.h"

#include <gtest/gtest.h>


#include <algorithm>
#include <csignal>
#include <filesystem>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BitmapTestPicture.h"
#include "platform/AtomicFileWriter.h"
#include "platform/Files.h"

namespace {

std::uint32_t U32At(const std::string& bytes, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

std::uint16_t U16At(const std::string& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

// A 100 x 50 picture, bottom-up BGRA: blue-grey, with the top left 20 x 10 red.
std::vector<std::uint8_t> TestPicture(int width, int height)
{
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4);
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const bool red = row >= height - 10 && col < 20;   // stored rows count from the bottom
            std::uint8_t* p = &bgra[(static_cast<std::size_t>(row) * width + col) * 4];
            p[0] = red ? 0 : 0x60;
            p[1] = red ? 0 : 0x40;
            p[2] = red ? 255 : 0x20;
            p[3] = 255;
        }
    }
    return bgra;
}

class BitmapFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = tessara::TempFolder() + "bitmap-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern + "/";
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }
    std::vector<std::string> FolderEntries() const
    {
        // Every entry, hidden temporary files included.
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_folder)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string m_folder;
};

}  // namespace

TEST(BitmapSizes, PixelBytesIn64BitsWithinTheFormatsLimit)
{
    struct Case { int width, height; std::optional<std::uint64_t> bytes; };
    for (const Case c : {Case{100, 50, 20000}, Case{1, 1, 4}, Case{0, 50, {}}, Case{100, 0, {}}, Case{-1, 50, {}},
                         Case{100, -50, {}}, Case{32767, 32767, 4294705156ull},
                         Case{1073741810, 1, 4294967240ull}, Case{1073741811, 1, {}}, Case{40000, 40000, {}},
                         Case{2147483647, 2147483647, {}}}) {
        EXPECT_EQ(BitmapPixelBytes(c.width, c.height), c.bytes) << c.width << " x " << c.height;
    }
}

TEST_F(BitmapFileTest, WritesHeaderAndBottomUpBgraThatOpenCvReadsBack)
{
    const std::string path = m_folder + "view.bmp";
    ASSERT_TRUE(WriteBitmapPixels(path, 100, 50, TestPicture(100, 50)));
    const std::string bytes = tessara::ReadWholeFile(path).value_or("");
    ASSERT_EQ(bytes.size(), 20054u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(U32At(bytes, 2), 20054u);
    EXPECT_EQ(U32At(bytes, 6), 0u);
    EXPECT_EQ(U32At(bytes, 10), 54u);
    EXPECT_EQ(U32At(bytes, 14), 40u);
    EXPECT_EQ(U32At(bytes, 18), 100u);
    EXPECT_EQ(U32At(bytes, 22), 50u);
    EXPECT_EQ(U16At(bytes, 26), 1u);
    EXPECT_EQ(U16At(bytes, 28), 32u);
    for (std::size_t at = 30; at < 54; at += 4) EXPECT_EQ(U32At(bytes, at), 0u) << at;

    ExpectTestPictureFile(path);
}

TEST_F(BitmapFileTest, MissingFolderOrWrongSizeGivesFalseAndNoFile)
{
    const auto picture = TestPicture(100, 50);
    EXPECT_FALSE(WriteBitmapPixels(m_folder + "missing/view.bmp", 100, 50, picture));
    EXPECT_FALSE(tessara::FolderExists(m_folder + "missing"));
    EXPECT_FALSE(WriteBitmapPixels(m_folder + "short.bmp", 100, 51, picture));
    EXPECT_FALSE(WriteBitmapPixels(m_folder + "empty.bmp", 0, 50, {}));
    EXPECT_FALSE(WriteBitmapPixels(m_folder + "huge.bmp", 40000, 40000, picture));
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(BitmapFileTest, AFailedWriteLeavesThePreviousFileByteIdentical)
{
    const std::string path = m_folder + "view.bmp";
    ASSERT_TRUE(WriteBitmapPixels(path, 100, 50, TestPicture(100, 50)));
    const std::string before = tessara::ReadWholeFile(path).value_or("");
    ASSERT_EQ(before.size(), 20054u);

    // A child whose files may not grow past 4 KiB: the pixel write fails part way,
    // as on a full disk.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool written = WriteBitmapPixels(path, 200, 100, TestPicture(200, 100));
        _exit(written ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the cut write was reported as saved";

    EXPECT_EQ(tessara::ReadWholeFile(path), before);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"view.bmp"}) << "no temporary file is left";
}

namespace {
std::vector<tessara::SaveStep> g_steps;
void RecordStep(tessara::SaveStep step, std::uint64_t) { g_steps.push_back(step); }
}  // namespace

TEST_F(BitmapFileTest, WritesThenSyncsThenRenames)
{
    g_steps.clear();
    tessara::SetSaveStepHook(RecordStep);
    const bool written = WriteBitmapPixels(m_folder + "view.bmp", 100, 50, TestPicture(100, 50));
    tessara::SetSaveStepHook(nullptr);
    ASSERT_TRUE(written);
    ASSERT_GE(g_steps.size(), 3u);
    EXPECT_EQ(g_steps[g_steps.size() - 2], tessara::SaveStep::Sync);
    EXPECT_EQ(g_steps.back(), tessara::SaveStep::Rename);
    for (std::size_t i = 0; i + 2 < g_steps.size(); ++i) EXPECT_EQ(g_steps[i], tessara::SaveStep::Write);
}

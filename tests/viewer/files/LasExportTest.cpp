#include "viewer/files/LasExport.h"

#include "ExportTestSupport.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace exporttest;

namespace {

// Runs the export with PATH set to the test's tool folder (fakes), then the
// project's own programs unless left out.
class LasExportTest : public ScratchFolderTest {
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        m_oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        std::filesystem::create_directories(m_dir / "bin");
        std::filesystem::create_directories(m_dir / "out");
        UsePath(true);
    }
    void TearDown() override
    {
        ::setenv("PATH", m_oldPath.c_str(), 1);
        ScratchFolderTest::TearDown();
    }
    void UsePath(bool withProjectTools)
    {
        std::string path = (m_dir / "bin").string();
        if (withProjectTools) path += std::string(":") + TESSARA_BINARY_DIR_PATH + "/bin";
        path += ":/usr/bin:/bin";
        ::setenv("PATH", path.c_str(), 1);
    }
    void FakeTool(const std::string& name, const std::string& body)
    {
        const auto p = m_dir / "bin" / name;
        std::ofstream(p) << "#!/bin/sh\n" << body << "\n";
        ::chmod(p.c_str(), 0755);
    }
    LasExportResult Run(const std::string& name, LasExportSettings settings = {})
    {
        return ExportLasFile((m_dir / "out" / name).string(), m_store, m_toSurvey, settings,
                             [&](const std::function<void()>& f) { f(); });
    }
    // No dump or temporary LAS of this process left in the temporary folder.
    void ExpectNoTemporaryFiles()
    {
        const std::string mine = "." + std::to_string(::getpid()) + ".";
        for (const auto& entry : std::filesystem::directory_iterator(tessara::TempFolder())) {
            const std::string name = entry.path().filename().string();
            const bool ours = (name.rfind("~QUONVEIWLASTEMP", 0) == 0 || name.rfind("copytemplas", 0) == 0) &&
                              name.find(mine) != std::string::npos;
            EXPECT_FALSE(ours) << name;
        }
    }
    static std::uint32_t LasPointCount(const std::filesystem::path& p)
    {
        const std::string bytes = ReadAll(p);
        if (bytes.size() < 227 || bytes.compare(0, 4, "LASF") != 0) return 0;
        std::uint32_t n = 0;
        std::memcpy(&n, bytes.data() + 107, 4);
        EXPECT_EQ(bytes.size(), 227u + 26u * n);
        return n;
    }

    CModelDataMng m_store;
    MTRX m_toSurvey;
    std::string m_oldPath;
};

TEST_F(LasExportTest, SplitByPointsGivesNumberedFilesOfTheLimit)
{
    m_store.AddGroup(MakeLineGroup(12000));
    m_store.AddGroup(MakeLineGroup(500, /*shown=*/false));
    m_store.AddGroup(MakeLineGroup(13000));
    const LasExportResult r = Run("scan.las", {2, 0, 1});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Names(m_dir / "out"), (std::vector<std::string>{"scan(1).las", "scan(2).las", "scan(3).las"}));
    EXPECT_EQ(LasPointCount(m_dir / "out" / "scan(1).las"), 10000u);
    EXPECT_EQ(LasPointCount(m_dir / "out" / "scan(2).las"), 10000u);
    EXPECT_EQ(LasPointCount(m_dir / "out" / "scan(3).las"), 5000u);
    ExpectNoTemporaryFiles();
}

// 2,500,000 points at 100 units of 10,000: three files of 1,000,000, 1,000,000 and
// 500,000 points, through the project's own converter.
TEST_F(LasExportTest, TwoAndAHalfMillionPointsInUnitsOfAMillionGiveThreeFiles)
{
    m_store.AddGroup(MakeLineGroup(1'200'000));
    m_store.AddGroup(MakeLineGroup(1'300'000));
    const LasExportResult r = Run("big.las", {2, 200, 100});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Names(m_dir / "out"), (std::vector<std::string>{"big(1).las", "big(2).las", "big(3).las"}));
    EXPECT_EQ(LasPointCount(m_dir / "out" / "big(1).las"), 1'000'000u);
    EXPECT_EQ(LasPointCount(m_dir / "out" / "big(2).las"), 1'000'000u);
    EXPECT_EQ(LasPointCount(m_dir / "out" / "big(3).las"), 500'000u);
    ExpectNoTemporaryFiles();
}

TEST_F(LasExportTest, HiddenLastGroupEndsTheWalkAndAnEmptyStoreFails)
{
    m_store.AddGroup(MakeLineGroup(100));
    m_store.AddGroup(MakeLineGroup(100, /*shown=*/false));
    LasExportResult r = Run("a.las");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(LasPointCount(m_dir / "out" / "a.las"), 100u);

    CModelDataMng empty;
    r = ExportLasFile((m_dir / "out" / "b.las").string(), empty, m_toSurvey, {},
                      [](const std::function<void()>& f) { f(); });
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out" / "b.las"));
    ExpectNoTemporaryFiles();
}

// A converter that fails, is killed or is missing: failure, the old target as it was,
// no temporary file.
TEST_F(LasExportTest, ToolFailingKilledOrMissingFailsAndKeepsTheTarget)
{
    m_store.AddGroup(MakeLineGroup(100));
    const auto target = m_dir / "out" / "a b 点群.las";
    { std::ofstream(target) << "old"; }
    struct Case {
        const char* name;
        const char* body;     // null: no tool at all
    };
    const Case cases[] = {
        {"exits_1", "exit 1"},
        {"exits_0_without_output", "exit 0"},
        {"killed", "kill -9 $$"},
        {"missing", nullptr},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(m_dir / "bin" / "lasconsole");
        if (c.body) FakeTool("lasconsole", c.body);
        UsePath(false);
        const LasExportResult r = Run(target.filename().string());
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(!r.notStarted.empty(), c.body == nullptr) << c.name;
        EXPECT_EQ(ReadAll(target), "old") << c.name;
        EXPECT_EQ(Names(m_dir / "out").size(), 1u) << c.name;
        ExpectNoTemporaryFiles();
    }
}

TEST_F(LasExportTest, LazGoesThroughTheCompressorAndIsNeverSplit)
{
    m_store.AddGroup(MakeLineGroup(25000));
    // A stand-in compressor: the test checks the hand-over, not the compression.
    FakeTool("lazpack", "[ \"$1\" = -i ] && [ \"$3\" = -o ] && cp \"$2\" \"$4\"");
    LasExportResult r = Run("scan.LAZ", {2, 0, 1});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Names(m_dir / "out"), std::vector<std::string>{"scan.LAZ"});
    EXPECT_EQ(LasPointCount(m_dir / "out" / "scan.LAZ"), 25000u);
    ExpectNoTemporaryFiles();

    FakeTool("lazpack", "exit 3");
    { std::ofstream(m_dir / "out" / "scan.LAZ") << "old"; }
    r = Run("scan.LAZ");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(ReadAll(m_dir / "out" / "scan.LAZ"), "old");
    ExpectNoTemporaryFiles();
}

}  // namespace

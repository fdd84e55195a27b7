#include "viewer/files/PointTextExport.h"

#include "ExportTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <locale>

using namespace exporttest;

namespace {

class PointTextExportTest : public ScratchFolderTest {};

// A survey transform that moves x by 1000 and y by -2000: the files hold its inverse.
MTRX ShiftedSurvey()
{
    MTRX m;
    m.Move(1000.0, -2000.0);
    return m;
}

TEST_F(PointTextExportTest, SurveyFileHoldsEveryGroupNumberedPerGroupWithCrLf)
{
    CModelDataMng store;
    store.AddGroup(MakeGroup({{1.5f, 2.25f, 3.0f}, {-4.0f, 5.0f, -6.125f}, {0, 0, 0}}));
    store.AddGroup(MakeGroup({{10, 20, 30}, {11, 21, 31}, {12, 22, 32}}, /*shown=*/false));
    const std::string path = PathOf("pts.sim");
    ASSERT_EQ(WriteSurveyPointText(store, ~ShiftedSurvey(), path), 1);
    const std::string expected =
        "G00,04,,\r\nZ01,1,\r\nA00,\r\n"
        "A01,        1,,       -998.5000,       2002.2500,          3.0000,\r\n"
        "A01,        2,,      -1004.0000,       2005.0000,         -6.1250,\r\n"
        "A01,        3,,      -1000.0000,       2000.0000,          0.0000,\r\n"
        "A01,        1,,       -990.0000,       2020.0000,         30.0000,\r\n"
        "A01,        2,,       -989.0000,       2021.0000,         31.0000,\r\n"
        "A01,        3,,       -988.0000,       2022.0000,         32.0000,\r\n"
        "A99,\r\nG99\t,\r\n";
    EXPECT_EQ(ReadAll(path), expected);
}

TEST_F(PointTextExportTest, NoPointsGivesZeroAndNoFile)
{
    CModelDataMng store;
    store.AddGroup(MakeGroup({}));
    EXPECT_EQ(WriteSurveyPointText(store, MTRX(), PathOf("a.sim")), 0);
    EXPECT_EQ(WriteCommaPointText(store, MTRX(), PathOf("a.xyz"), 1.0, 1, {}), 0);
    // Points only in a hidden group: the comma list has nothing to write either.
    store.AddGroup(MakeGroup({{1, 2, 3}}, /*shown=*/false));
    EXPECT_EQ(WriteCommaPointText(store, MTRX(), PathOf("a.xyz"), 1.0, 1, {}), 0);
    EXPECT_TRUE(Names(m_dir).empty());
}

TEST_F(PointTextExportTest, CommaListHoldsShownPointsScaledAndInTheChosenAxisOrder)
{
    CModelDataMng store;
    store.AddGroup(MakeGroup({{1.5f, 2.5f, 3.25f, 0x00030201}, {100, 200, 300, 0x00FFFFFF}}));
    store.AddGroup(MakeGroup({{7, 7, 7}}, /*shown=*/false));
    struct Case {
        double scale;
        std::uint8_t axis;
        const char* expected;
    };
    const Case cases[] = {
        {1.0, 1, "-998.5000,2002.5000,3.2500,1,2,3\r\n-900.0000,2200.0000,300.0000,255,255,255\r\n"},
        {1.0, 0, "2002.5000,-998.5000,3.2500,1,2,3\r\n2200.0000,-900.0000,300.0000,255,255,255\r\n"},
        // Scaled before the transform, as the stored values are.
        {0.01, 1, "-999.9850,2000.0250,0.0325,1,2,3\r\n-999.0000,2002.0000,3.0000,255,255,255\r\n"},
    };
    for (const Case& c : cases) {
        const std::string path = PathOf("pts.xyz");
        ASSERT_EQ(WriteCommaPointText(store, ~ShiftedSurvey(), path, c.scale, c.axis, {}), 1);
        EXPECT_EQ(ReadAll(path), c.expected) << "scale " << c.scale << " axis " << int(c.axis);
    }
}

// Numbers are written the same whatever locale the process runs in.
TEST_F(PointTextExportTest, NumbersIgnoreTheProcessLocale)
{
    struct CommaDecimal : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    CModelDataMng store;
    store.AddGroup(MakeGroup({{12345.5f, 2.25f, 3.0f, 0}}));
    const int sim = WriteSurveyPointText(store, MTRX(), PathOf("p.sim"));
    const int xyz = WriteCommaPointText(store, MTRX(), PathOf("p.xyz"), 1.0, 1, {});
    std::locale::global(previous);
    ASSERT_EQ(sim, 1);
    ASSERT_EQ(xyz, 1);
    EXPECT_NE(ReadAll(PathOf("p.sim")).find("      12345.5000,          2.2500,"), std::string::npos);
    EXPECT_EQ(ReadAll(PathOf("p.xyz")), "12345.5000,2.2500,3.0000,0,0,0\r\n");
}

struct SplitCase {
    const char* name;
    PointTextLimits limits;
    int points;
    std::vector<std::string> files;        // names written, sorted
    std::vector<std::size_t> lines;        // lines of each, same order
};

class CommaSplitTest : public ScratchFolderTest, public ::testing::WithParamInterface<SplitCase> {};

TEST_P(CommaSplitTest, WritesTheNumberedFilesOfItsLimit)
{
    const SplitCase& c = GetParam();
    CModelDataMng store;
    // Two shown groups and a hidden one: the walk carries over between groups.
    store.AddGroup(MakeLineGroup(c.points / 2));
    store.AddGroup(MakeLineGroup(1000, /*shown=*/false));
    store.AddGroup(MakeLineGroup(c.points - c.points / 2));
    ASSERT_EQ(WriteCommaPointText(store, MTRX(), PathOf("pts.xyz"), 1.0, 1, c.limits), 1);
    ASSERT_EQ(Names(m_dir), c.files);
    for (std::size_t i = 0; i < c.files.size(); ++i)
        EXPECT_EQ(CountLines(ReadAll(m_dir / c.files[i])), c.lines[i]) << c.files[i];
}

INSTANTIATE_TEST_SUITE_P(
    Limits, CommaSplitTest,
    ::testing::Values(
        SplitCase{"by_points", {2, 0, 1}, 25000, {"pts(1).xyz", "pts(2).xyz", "pts(3).xyz"}, {10000, 10000, 5000}},
        SplitCase{"by_points_exact", {2, 0, 1}, 20000, {"pts(1).xyz", "pts(2).xyz"}, {10000, 10000}},
        // 4,096 MB is beyond 32 bits in bytes: still one numbered file.
        SplitCase{"size_4096_mb", {1, 4096, 0}, 3000, {"pts(1).xyz"}, {3000}},
        SplitCase{"size_zero_is_no_limit", {1, 0, 0}, 3000, {"pts.xyz"}, {3000}},
        SplitCase{"points_negative_is_no_limit", {2, 0, -5}, 3000, {"pts.xyz"}, {3000}},
        // 214,749 units of 10,000 points overflow 32 bits: no file may be cut.
        SplitCase{"points_beyond_32_bits", {2, 0, 214749}, 3000, {"pts(1).xyz"}, {3000}},
        SplitCase{"unknown_mode", {7, 1, 1}, 3000, {"pts.xyz"}, {3000}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PointTextExportTest, SizeLimitStartsANewFileAfterTheLineThatCrossesIt)
{
    CModelDataMng store;
    store.AddGroup(MakeLineGroup(80000));
    ASSERT_EQ(WriteCommaPointText(store, MTRX(), PathOf("pts.xyz"), 1.0, 1, {1, 1, 0}), 1);
    const auto names = Names(m_dir);
    ASSERT_GE(names.size(), 2u);
    std::size_t lines = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(names[i], "pts(" + std::to_string(i + 1) + ").xyz");
        const std::string text = ReadAll(m_dir / names[i]);
        lines += CountLines(text);
        if (i + 1 < names.size()) {
            // Past the limit by less than one line; without its last line, not past it.
            EXPECT_GT(text.size(), 1048576u);
            const std::size_t lastLineStart = text.rfind("\r\n", text.size() - 3) + 2;
            EXPECT_LE(lastLineStart, 1048576u);
        }
    }
    EXPECT_EQ(lines, 80000u);
}

// A file that cannot be completed: 0, nothing of it left, the earlier split files
// kept, and an existing file of that name untouched.
TEST_F(PointTextExportTest, FailedFileLeavesNoPartAndKeepsCompletedFiles)
{
    CModelDataMng store;
    store.AddGroup(MakeLineGroup(25000));
    // A folder where the second file belongs: its rename cannot succeed.
    std::filesystem::create_directories(m_dir / "pts(2).xyz" / "keep");
    EXPECT_EQ(WriteCommaPointText(store, MTRX(), PathOf("pts.xyz"), 1.0, 1, {2, 0, 1}), 0);
    EXPECT_EQ(Names(m_dir), (std::vector<std::string>{"pts(1).xyz", "pts(2).xyz"}));
    EXPECT_EQ(CountLines(ReadAll(m_dir / "pts(1).xyz")), 10000u);

    // The survey file into a missing folder: 0 and nothing made.
    EXPECT_EQ(WriteSurveyPointText(store, MTRX(), PathOf("missing/p.sim")), 0);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "missing"));
}

TEST_F(PointTextExportTest, ReplacesAnExistingFileOnlyWhenComplete)
{
    const std::string path = PathOf("p.sim");
    { std::ofstream(path) << "old"; }
    CModelDataMng store;
    EXPECT_EQ(WriteSurveyPointText(store, MTRX(), path), 0);
    EXPECT_EQ(ReadAll(path), "old");
    store.AddGroup(MakeGroup({{1, 2, 3}}));
    EXPECT_EQ(WriteSurveyPointText(store, MTRX(), path), 1);
    EXPECT_EQ(ReadAll(path).substr(0, 8), "G00,04,,");
}

// The fast formatting agrees with printf in the C locale everywhere, halves included.
TEST(AppendFixed4Test, AgreesWithPrintf)
{
    std::vector<double> values = {0.0, -0.0, 0.00005, -0.00005, 1.23455, 2.5e-5, 0.99995, -0.99995, 1e15, -3e15,
                                  123456789.12345, 1e300, -1e-300, 9.99999999, 0.000049999};
    std::uint64_t state = 12345;
    const auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return state >> 11;
    };
    for (int i = 0; i < 200000; ++i) {
        const double unit = double(next()) / double(1ull << 53);
        const double magnitude = std::pow(10.0, double(next() % 16) - 6.0);
        double v = (unit - 0.5) * magnitude;
        if (i % 3 == 0) v = std::round(v * 20000.0) / 20000.0;   // many exact or near halves
        if (i % 7 == 0) v = double(float(v));                    // float points widened
        values.push_back(v);
    }
    for (double v : values) {
        char expected[400];
        std::snprintf(expected, sizeof expected, "%16.4f", v);
        std::string got;
        AppendFixed4(got, v, 16);
        ASSERT_EQ(got, expected) << v;
    }
}

TEST(MakeNumberedFileNameTest, NumbersBeforeTheLastExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/out/pts.xyz", "/out/pts(3).xyz"},
        {"/out/pts.v2.las", "/out/pts.v2(3).las"},
        {"/out.d/pts", "/out.d/(3)pts"},
        {"pts.xyz", "pts(3).xyz"},
        {"/out/点群 a.xyz", "/out/点群 a(3).xyz"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(MakeNumberedFileName(in, 3), out) << in;
}

}  // namespace

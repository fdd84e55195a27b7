#include "LasConsole.h"

#include "outside/CModelDataMng.h"
#include "platform/Files.h"
#include "platform/Parallel.h"
#include "viewer/files/LasDump.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace {

struct DumpPoint {
    double x, y, z;
    std::int32_t r, g, b;
    double intensity;
};

struct Dump {
    std::vector<DumpPoint> points;
    double min[3] = {0, 0, 0};
    double max[3] = {0, 0, 0};
    double scale[3] = {0.0001, 0.0001, 0.0001};
    double offset[3] = {0, 0, 0};
    std::int32_t countOverride = -1;
};

template <class T>
void Put(std::string& out, T v)
{
    out.append(reinterpret_cast<const char*>(&v), sizeof v);
}

std::string Bytes(const Dump& d)
{
    std::string out;
    Put<std::uint32_t>(out, 0x40474C56);
    Put<std::uint16_t>(out, 0x0100);
    Put<std::int32_t>(out, d.countOverride >= 0 ? d.countOverride : static_cast<std::int32_t>(d.points.size()));
    for (double v : d.min) Put(out, v);
    for (double v : d.max) Put(out, v);
    for (double v : d.scale) Put(out, v);
    for (double v : d.offset) Put(out, v);
    for (const DumpPoint& p : d.points) {
        Put(out, p.x), Put(out, p.y), Put(out, p.z);
        Put(out, p.r), Put(out, p.g), Put(out, p.b);
        Put(out, p.intensity);
    }
    return out;
}

// The tests' own LAS 1.2 reader: the header fields the converter writes and every record.
struct LasFile {
    std::uint16_t headerSize = 0;
    std::uint32_t pointOffset = 0, vlrs = 0, count = 0, firstReturns = 0;
    std::uint8_t format = 0, major = 0, minor = 0;
    std::uint16_t recordLength = 0;
    double scale[3], offset[3], max[3], min[3];
    struct Point {
        std::int32_t X, Y, Z;
        std::uint16_t intensity;
        std::uint8_t returns;
        std::uint16_t r, g, b;
    };
    std::vector<Point> points;
};

template <class T>
T At(const std::string& s, std::size_t offset)
{
    T v;
    std::memcpy(&v, s.data() + offset, sizeof v);
    return v;
}

bool ReadLas(const std::string& path, LasFile& las)
{
    std::ifstream in(path, std::ios::binary);
    const std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (s.size() < 227 || s.compare(0, 4, "LASF") != 0) return false;
    las.major = At<std::uint8_t>(s, 24);
    las.minor = At<std::uint8_t>(s, 25);
    las.headerSize = At<std::uint16_t>(s, 94);
    las.pointOffset = At<std::uint32_t>(s, 96);
    las.vlrs = At<std::uint32_t>(s, 100);
    las.format = At<std::uint8_t>(s, 104);
    las.recordLength = At<std::uint16_t>(s, 105);
    las.count = At<std::uint32_t>(s, 107);
    las.firstReturns = At<std::uint32_t>(s, 111);
    for (int d = 0; d < 3; ++d) {
        las.scale[d] = At<double>(s, 131 + 8 * d);
        las.offset[d] = At<double>(s, 155 + 8 * d);
        las.max[d] = At<double>(s, 179 + 16 * d);
        las.min[d] = At<double>(s, 187 + 16 * d);
    }
    if (s.size() != las.pointOffset + std::size_t(las.count) * las.recordLength) return false;
    for (std::uint32_t i = 0; i < las.count; ++i) {
        const std::size_t p = las.pointOffset + std::size_t(i) * las.recordLength;
        las.points.push_back({At<std::int32_t>(s, p), At<std::int32_t>(s, p + 4), At<std::int32_t>(s, p + 8),
                              At<std::uint16_t>(s, p + 12), At<std::uint8_t>(s, p + 14), At<std::uint16_t>(s, p + 20),
                              At<std::uint16_t>(s, p + 22), At<std::uint16_t>(s, p + 24)});
    }
    return true;
}

class LasConsoleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::path(tessara::TempFolder()) / ("lasconsole-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::filesystem::path m_dir;
};

TEST_F(LasConsoleTest, WritesTheHeaderAndEveryPointOfTheDump)
{
    Dump d;
    d.points = {{100.0, 200.0, 10.0, 255, 0, 128, 300.4},
                {100.5, 199.25, 12.5, 1, 2, 3, 70000.0},
                {99.75, 200.5, 11.0, 0, 0, 0, -5.0}};
    d.min[0] = 99.75, d.min[1] = 199.25, d.min[2] = 10.0;
    d.max[0] = 100.5, d.max[1] = 200.5, d.max[2] = 12.5;
    d.offset[0] = 100.125, d.offset[1] = 199.875, d.offset[2] = 10.0;
    d.scale[2] = 0.001;
    const std::string las = (m_dir / "out.las").string();
    std::string error;
    ASSERT_TRUE(lasconsole::ConvertDumpToLas(Write("dump.dat", Bytes(d)), las, error)) << error;
    LasFile f;
    ASSERT_TRUE(ReadLas(las, f));
    EXPECT_EQ(f.major, 1);
    EXPECT_EQ(f.minor, 2);
    EXPECT_EQ(f.headerSize, 227);
    EXPECT_EQ(f.pointOffset, 227u);
    EXPECT_EQ(f.vlrs, 0u);
    EXPECT_EQ(f.format, 2);
    EXPECT_EQ(f.recordLength, 26);
    EXPECT_EQ(f.count, 3u);
    EXPECT_EQ(f.firstReturns, 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(f.scale[k], d.scale[k]);
        EXPECT_EQ(f.offset[k], d.offset[k]);
        EXPECT_EQ(f.min[k], d.min[k]);
        EXPECT_EQ(f.max[k], d.max[k]);
    }
    ASSERT_EQ(f.points.size(), 3u);
    EXPECT_EQ(f.points[0].X, -1250);          // (100 - 100.125) / 0.0001
    EXPECT_EQ(f.points[1].Y, -6250);
    EXPECT_EQ(f.points[1].Z, 2500);           // (12.5 - 10) / 0.001
    EXPECT_EQ(f.points[0].intensity, 300);    // rounded
    EXPECT_EQ(f.points[1].intensity, 65535);  // into 0..65535
    EXPECT_EQ(f.points[2].intensity, 0);
    EXPECT_EQ(f.points[0].r, 65535);          // x 257
    EXPECT_EQ(f.points[0].b, 128 * 257);
    EXPECT_EQ(f.points[1].g, 2 * 257);
    EXPECT_EQ(f.points[2].returns, 0x09);
    EXPECT_NEAR(f.points[1].X * f.scale[0] + f.offset[0], 100.5, 1e-9);
}

struct BadDump {
    const char* name;
    std::string bytes;
    const char* error;
};

class LasConsoleBadDumpTest : public LasConsoleTest, public ::testing::WithParamInterface<BadDump> {};

// Bad dumps are refused with a reason, leave no file and keep the previous target.
TEST_P(LasConsoleBadDumpTest, RefusesAndKeepsThePreviousFile)
{
    const std::string las = (m_dir / "out.las").string();
    std::ofstream(las, std::ios::binary) << "previous";
    std::string error;
    EXPECT_FALSE(lasconsole::ConvertDumpToLas(Write("dump.dat", GetParam().bytes), las, error));
    EXPECT_NE(error.find(GetParam().error), std::string::npos) << error;
    std::ifstream in(las, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), "previous");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), std::filesystem::directory_iterator()), 2)
        << "no temporary file is left";
}

Dump OnePoint(double x)
{
    Dump d;
    d.points = {{x, 0.0, 0.0, 0, 0, 0, 0.0}};
    return d;
}

std::string Cut(std::string s, std::size_t n) { return s.substr(0, n); }

Dump WithCount(Dump d, std::int32_t n)
{
    d.countOverride = n;
    return d;
}

Dump WithScale(Dump d, double s)
{
    d.scale[0] = s;
    return d;
}

Dump WithColour(Dump d, std::int32_t r)
{
    d.points[0].r = r;
    return d;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LasConsoleBadDumpTest,
    ::testing::Values(
        BadDump{"empty", "", "shorter than its header"},
        BadDump{"wrong_magic", "XXXX" + Bytes(OnePoint(1)).substr(4), "not a point dump"},
        BadDump{"cut_in_a_record", Cut(Bytes(OnePoint(1)), 0x6A + 20), "does not match"},
        BadDump{"count_promises_more", Bytes(WithCount(OnePoint(1), 2)), "does not match"},
        BadDump{"huge_count", Bytes(WithCount(OnePoint(1), 2147483647)), "does not match"},
        BadDump{"outside_int32", Bytes(OnePoint(1e6)), "does not fit"},
        BadDump{"nan_scale", Bytes(WithScale(OnePoint(1), std::nan(""))), "not finite"},
        BadDump{"zero_scale", Bytes(WithScale(OnePoint(1), 0.0)), "not finite"},
        BadDump{"colour_outside_a_byte", Bytes(WithColour(OnePoint(1), 256)), "colour"}),
    [](const ::testing::TestParamInfo<BadDump>& info) { return info.param.name; });

struct RoundingCase {
    double value;          // x with offset 0 and scale 1, or an intensity
    std::int64_t expected; // round half away from zero, or kDoesNotFit
};
constexpr std::int64_t kDoesNotFit = std::numeric_limits<std::int64_t>::min();

// Coordinates and intensities round halves away from zero, exactly at the edges of
// int32 and of a double's precision.
TEST_F(LasConsoleTest, RoundsHalvesAwayFromZeroUpToTheEdgesOfInt32)
{
    const RoundingCase coordinates[] = {
        {0.5, 1},
        {1.5, 2},
        {2.5, 3},
        {-0.5, -1},
        {-2.5, -3},
        {0.49999999999999994, 0},
        {-0.49999999999999994, 0},
        {4503599627370495.5 - 4503599627370000.0, 496},
        {2147483647.4, 2147483647},
        {2147483647.5, kDoesNotFit},
        {-2147483648.4, -2147483648LL},
        {-2147483648.5, kDoesNotFit},
        {std::numeric_limits<double>::infinity(), kDoesNotFit},
    };
    for (const RoundingCase& c : coordinates) {
        Dump d = OnePoint(c.value);
        d.scale[0] = 1.0;
        const std::string las = (m_dir / "round.las").string();
        std::string error;
        const bool ok = lasconsole::ConvertDumpToLas(Write("dump.dat", Bytes(d)), las, error);
        if (c.expected == kDoesNotFit) {
            EXPECT_FALSE(ok) << c.value;
            continue;
        }
        ASSERT_TRUE(ok) << c.value << ": " << error;
        LasFile f;
        ASSERT_TRUE(ReadLas(las, f));
        EXPECT_EQ(f.points.at(0).X, c.expected) << std::setprecision(17) << c.value;
    }
    const RoundingCase intensities[] = {
        {0.5, 1},
        {0.49999999999999994, 0},
        {-0.4, 0},
        {65534.5, 65535},
        {65535.49, 65535},
        {65535.5, 65535},
        {1e300, 65535},
        {std::numeric_limits<double>::infinity(), 0},
        {std::nan(""), 0},
    };
    for (const RoundingCase& c : intensities) {
        Dump d = OnePoint(1.0);
        d.points[0].intensity = c.value;
        const std::string las = (m_dir / "level.las").string();
        std::string error;
        ASSERT_TRUE(lasconsole::ConvertDumpToLas(Write("dump.dat", Bytes(d)), las, error)) << error;
        LasFile f;
        ASSERT_TRUE(ReadLas(las, f));
        EXPECT_EQ(f.points.at(0).intensity, c.expected) << std::setprecision(17) << c.value;
    }
}

TEST_F(LasConsoleTest, AnEmptyDumpGivesAHeaderOnlyFile)
{
    const std::string las = (m_dir / "empty.las").string();
    std::string error;
    ASSERT_TRUE(lasconsole::ConvertDumpToLas(Write("dump.dat", Bytes(Dump{})), las, error)) << error;
    LasFile f;
    ASSERT_TRUE(ReadLas(las, f));
    EXPECT_EQ(f.count, 0u);
    EXPECT_EQ(std::filesystem::file_size(las), 227u);
}

// --- the viewer's side: points per file, scales, and dumps the converter reads ---------

TEST(LasDumpTest, PointsPerFileIn64Bits)
{
    using lasdump::PointsPerFile;
    EXPECT_EQ(PointsPerFile(1, 200, 100, false), 8'065'961);
    EXPECT_EQ(PointsPerFile(1, 4096, 100, false), (4096LL * 1048576 - 227) / 26 + 1);
    EXPECT_EQ(PointsPerFile(1, 100'000'000, 100, false), 2'147'483'647) << "capped, never wrapped";
    EXPECT_EQ(PointsPerFile(2, 100, 100, false), 1'000'000);
    EXPECT_EQ(PointsPerFile(2, 200, 300'000, false), 2'147'483'647);
    EXPECT_EQ(PointsPerFile(1, 0, 100, false), lasdump::kNoLimit);
    EXPECT_EQ(PointsPerFile(2, 200, -5, false), lasdump::kNoLimit);
    EXPECT_EQ(PointsPerFile(0, 200, 100, false), lasdump::kNoLimit);
    EXPECT_EQ(PointsPerFile(2, 200, 100, true), lasdump::kNoLimit) << "a LAZ target is never split";
}

TEST(LasDumpTest, ScalesAreTheSmallestFittingMultiple)
{
    const auto one = lasdump::CentredScale(5.5, 5.5);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->offset, 5.5);
    EXPECT_EQ(one->scale, 0.0001);
    // 1,000 km: a half range of 500,000 m needs 500000 / 0.0001 > 2^31 steps.
    const auto wide = lasdump::CentredScale(0.0, 1'000'000.0);
    ASSERT_TRUE(wide);
    EXPECT_NEAR(wide->scale, 0.0003, 1e-12);
    EXPECT_LE(std::trunc(500'000.0 / wide->scale), 2147483647.0);
    EXPECT_GT(std::trunc(500'000.0 / (wide->scale - 0.0001)), 2147483647.0);
    // One stray coordinate 1e11 m away: worked out at once, not in millions of steps.
    const auto stray = lasdump::BaseScale(0.0, 1e11);
    ASSERT_TRUE(stray);
    EXPECT_LE(std::trunc(1e11 / stray->scale), 2147483647.0);
    EXPECT_GT(std::trunc(1e11 / (stray->scale - 0.0001)), 2147483647.0);
    EXPECT_FALSE(lasdump::CentredScale(std::nan(""), 1.0));
    EXPECT_FALSE(lasdump::BaseScale(0.0, std::numeric_limits<double>::infinity()));
}

std::unique_ptr<CPCloudMng> Group(int n, float x0, bool shown = true)
{
    auto g = std::make_unique<CPCloudMng>();
    for (int i = 0; i < n; ++i) g->AddCloudPoint(x0 + float(i), 2.0f * float(i), 10.0f + float(i % 3), 0x00030201, double(i));
    g->m_nDataFlag = 1;
    g->m_nShowPCloud = shown ? 1 : 0;
    return g;
}

// 25 shown points split by 10: three dumps of 10, 10 and 5, the hidden group in
// between passed over, each converted by lasconsole into a LAS file that holds them.
TEST_F(LasConsoleTest, SplitDumpsWalkTheShownGroupsAndConvert)
{
    CModelDataMng store;
    store.AddGroup(Group(12, 0.0f));
    store.AddGroup(Group(7, 100.0f, false));
    store.AddGroup(Group(13, 1000.0f));
    MTRX toSurvey;
    toSurvey.Move(-100, -200);
    lasdump::Position at;
    std::vector<std::int64_t> counts;
    bool done = false;
    for (int file = 0; file < 5 && !done; ++file) {
        const std::string dump = (m_dir / ("dump" + std::to_string(file))).string();
        const lasdump::DumpResult r = lasdump::WriteDump(dump, store, toSurvey, at, 10);
        ASSERT_TRUE(r.written) << r.error;
        done = r.done;
        counts.push_back(r.points);
        const std::string las = (m_dir / ("out" + std::to_string(file) + ".las")).string();
        std::string error;
        ASSERT_TRUE(lasconsole::ConvertDumpToLas(dump, las, error)) << error;
        LasFile f;
        ASSERT_TRUE(ReadLas(las, f));
        EXPECT_EQ(f.count, static_cast<std::uint32_t>(r.points));
        for (const auto& p : f.points) {
            const double x = p.X * f.scale[0] + f.offset[0];
            EXPECT_GE(x, f.min[0] - 1e-9);
            EXPECT_LE(x, f.max[0] + 1e-9);
            EXPECT_EQ(p.r, 1 * 257);
            EXPECT_EQ(p.b, 3 * 257);
        }
        if (file == 0) {
            EXPECT_DOUBLE_EQ(f.min[0], -100.0) << "x through the survey transform";
        }
    }
    EXPECT_EQ(counts, (std::vector<std::int64_t>{10, 10, 5}));
    EXPECT_TRUE(done);
}

struct ExtentCase {
    const char* name;
    std::vector<std::array<float, 3>> points;   // as stored
    double turn;                                 // radians of the survey transform
    bool axis;                                   // with an axis exchange (mirror)
};

// Every point comes back from the LAS within half a scale step of its survey
// coordinates, and the header's bounds are those of the converted points, whatever
// the extent and however the survey transform turns or mirrors them.
TEST_F(LasConsoleTest, PointsComeBackWithinHalfAStepForAnyExtentAndTransform)
{
    const ExtentCase cases[] = {
        {"one_position", {{5.5f, -7.25f, 3.0f}, {5.5f, -7.25f, 3.0f}, {5.5f, -7.25f, 3.0f}}, 0.0, false},
        {"thousand_km", {{-500000.0f, 0.0f, 0.0f}, {500000.0f, 1.0f, 2.0f}, {0.0f, -500000.0f, 1000.0f}}, 0.0, false},
        {"turned", {{0.0f, 0.0f, 1.0f}, {100.0f, 0.0f, 2.0f}, {100.0f, 50.0f, 3.0f}, {0.0f, 50.0f, 4.0f}}, 0.7, false},
        {"mirrored", {{0.0f, 0.0f, 1.0f}, {100.0f, 0.0f, 2.0f}, {30.0f, 80.0f, 3.0f}}, 2.0, true},
    };
    for (const ExtentCase& c : cases) {
        CModelDataMng store;
        auto g = std::make_unique<CPCloudMng>();
        for (const auto& p : c.points) g->AddCloudPoint(p[0], p[1], p[2], 0x00010203, 7.0);
        g->m_nDataFlag = 1;
        g->m_nShowPCloud = 1;
        store.AddGroup(std::move(g));
        MTRX toSurvey;
        toSurvey.Turn(c.turn);
        if (c.axis) toSurvey.Axis();
        toSurvey.Move(1000.0, -2000.0);
        lasdump::Position at;
        const std::string dump = (m_dir / "extent.dump").string();
        const lasdump::DumpResult r = lasdump::WriteDump(dump, store, toSurvey, at, lasdump::kNoLimit);
        ASSERT_TRUE(r.written) << c.name << ": " << r.error;
        const std::string las = (m_dir / "extent.las").string();
        std::string error;
        ASSERT_TRUE(lasconsole::ConvertDumpToLas(dump, las, error)) << c.name << ": " << error;
        LasFile f;
        ASSERT_TRUE(ReadLas(las, f)) << c.name;
        ASSERT_EQ(f.points.size(), c.points.size()) << c.name;
        double lo[3] = {1e300, 1e300, 1e300}, hi[3] = {-1e300, -1e300, -1e300};
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            double x = c.points[i][0], y = c.points[i][1];
            toSurvey.XY(&x, &y);
            const double v[3] = {x, y, c.points[i][2]};
            const std::int32_t stored[3] = {f.points[i].X, f.points[i].Y, f.points[i].Z};
            for (int d = 0; d < 3; ++d) {
                EXPECT_LE(std::fabs(stored[d] * f.scale[d] + f.offset[d] - v[d]), f.scale[d] * 0.5 + 1e-9)
                    << c.name << " point " << i << " axis " << d;
                lo[d] = std::min(lo[d], v[d]);
                hi[d] = std::max(hi[d], v[d]);
            }
        }
        for (int d = 0; d < 3; ++d) {
            EXPECT_EQ(f.min[d], lo[d]) << c.name << " axis " << d;
            EXPECT_EQ(f.max[d], hi[d]) << c.name << " axis " << d;
        }
    }
}

TEST_F(LasConsoleTest, NothingToDumpLeavesNoFileAndEnds)
{
    for (const bool hiddenLast : {false, true}) {
        CModelDataMng store;
        if (hiddenLast) store.AddGroup(Group(5, 0.0f, false));
        lasdump::Position at;
        const std::string dump = (m_dir / "none").string();
        const lasdump::DumpResult r = lasdump::WriteDump(dump, store, MTRX(), at, lasdump::kNoLimit);
        EXPECT_FALSE(r.written);
        EXPECT_TRUE(r.done) << "the walk passed the last group";
        EXPECT_FALSE(std::filesystem::exists(dump));
    }
}

// A dump long enough for many blocks: records and header byte for byte those of one
// pass in order, for any worker count and split limit. The first of equal bounds
// stays (0 before -0 and -0 before 0 give different header bytes), the hidden group
// is passed over and the walk goes on where the limit stopped it.
TEST_F(LasConsoleTest, LongDumpsAreThoseOfOnePassInOrder)
{
    for (const bool positiveZeroFirst : {true, false}) {
        CModelDataMng store;
        for (int group = 0; group < 3; ++group) {
            auto g = std::make_unique<CPCloudMng>();
            for (int i = 0; i < 60000; ++i) {
                // The lowest z is a zero: the one in the first group comes first.
                const bool zero = (i == 5 || i == 59990);
                const float z0 = (group == 0) == positiveZeroFirst ? 0.0f : -0.0f;
                g->AddCloudPoint(float(i % 300) * 0.5f + float(group), float(i / 300) * 0.25f,
                                 zero ? z0 : 1.0f + float(i % 17), COLORREF(i & 0xFFFFFF), double(i % 5000));
            }
            g->m_nDataFlag = 1;
            g->m_nShowPCloud = group == 1 ? 0 : 1;
            store.AddGroup(std::move(g));
        }
        MTRX toSurvey;
        toSurvey.Turn(0.3);
        toSurvey.Move(-300.0, 45000.0);
        for (const std::size_t workers : {1u, 3u, 8u}) {
            for (const std::int64_t limit : {lasdump::kNoLimit, std::int64_t{70001}}) {
                tessara::WorkerCountScope scope(workers);
                std::vector<DumpPoint> all;
                for (int group : {0, 2}) {
                    const CPCloudMng& g = *store.GetGroup(group);
                    for (std::int64_t i = 0; i < g.GetCloudPointSize(); ++i) {
                        float x = 0, y = 0, z = 0;
                        COLORREF c = 0;
                        double intensity = 0;
                        g.GetCloudPointVal(i, x, y, z, c, intensity);
                        double px = x, py = y;
                        toSurvey.XY(&px, &py);
                        all.push_back({px, py, double(z), std::int32_t(c & 0xFF), std::int32_t((c >> 8) & 0xFF),
                                       std::int32_t((c >> 16) & 0xFF), intensity});
                    }
                }
                lasdump::Position at;
                for (std::size_t first = 0; first < all.size();) {
                    const std::size_t n = limit > 0 ? std::min<std::size_t>(std::size_t(limit), all.size() - first)
                                                    : all.size() - first;
                    Dump expected;
                    expected.points.assign(all.begin() + std::ptrdiff_t(first), all.begin() + std::ptrdiff_t(first + n));
                    for (int d = 0; d < 3; ++d) {
                        expected.min[d] = std::numeric_limits<double>::infinity();
                        expected.max[d] = -std::numeric_limits<double>::infinity();
                    }
                    for (const DumpPoint& p : expected.points) {
                        const double v[3] = {p.x, p.y, p.z};
                        for (int d = 0; d < 3; ++d) {
                            expected.min[d] = std::min(expected.min[d], v[d]);
                            expected.max[d] = std::max(expected.max[d], v[d]);
                        }
                    }
                    const lasdump::AxisScale scales[3] = {*lasdump::CentredScale(expected.min[0], expected.max[0]),
                                                          *lasdump::CentredScale(expected.min[1], expected.max[1]),
                                                          *lasdump::BaseScale(expected.min[2], expected.max[2])};
                    for (int d = 0; d < 3; ++d) {
                        expected.scale[d] = scales[d].scale;
                        expected.offset[d] = scales[d].offset;
                    }
                    const std::string dump = (m_dir / "long.dump").string();
                    const lasdump::DumpResult r = lasdump::WriteDump(dump, store, toSurvey, at, limit);
                    ASSERT_TRUE(r.written) << r.error;
                    EXPECT_EQ(r.points, std::int64_t(n));
                    std::ifstream in(dump, std::ios::binary);
                    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
                    EXPECT_TRUE(bytes == Bytes(expected))
                        << workers << " workers, limit " << limit << ", from point " << first;
                    first += n;
                    EXPECT_EQ(r.done, first == all.size());
                }
            }
        }
    }
}

// In a dump of many blocks, the point reported is the first that does not fit,
// wherever the others lie and however many workers convert; nothing is left.
TEST_F(LasConsoleTest, TheFirstBadPointOfALongDumpIsReported)
{
    struct Case {
        std::vector<std::size_t> badCoordinates;
        std::vector<std::size_t> badColours;
        const char* error;
    };
    const Case cases[] = {
        {{150000}, {}, "point 150000 does not fit"},
        {{70000, 190000}, {}, "point 70000 does not fit"},
        {{66000}, {1, 199999}, "point 1 has a colour"},
        {{199999, 131072}, {140000}, "point 131072 does not fit"},
    };
    Dump d;
    d.points.assign(200000, DumpPoint{1.0, 2.0, 3.0, 10, 20, 30, 5.0});
    for (const std::size_t workers : {1u, 4u}) {
        tessara::WorkerCountScope scope(workers);
        for (const Case& c : cases) {
            Dump bad = d;
            for (std::size_t i : c.badCoordinates) bad.points[i].x = 1e9;
            for (std::size_t i : c.badColours) bad.points[i].g = -1;
            const std::string las = (m_dir / "out.las").string();
            std::ofstream(las, std::ios::binary) << "previous";
            std::string error;
            EXPECT_FALSE(lasconsole::ConvertDumpToLas(Write("dump.dat", Bytes(bad)), las, error));
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
            std::ifstream in(las, std::ios::binary);
            EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), "previous");
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), std::filesystem::directory_iterator()), 2)
                << "no temporary file is left";
        }
    }
}

}  // namespace

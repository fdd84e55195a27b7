#include "LazDecoder.h"
#include "LazPack.h"

#include "platform/Files.h"
#include "platform/Parallel.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// One LAS record in the order it is stored.
struct Record {
    std::int32_t x = 0, y = 0, z = 0;
    std::uint16_t intensity = 0;
    std::uint8_t returnByte = 0x09;   // first of one return
    std::uint8_t classification = 2;
    std::int8_t scanAngle = 0;
    std::uint8_t userData = 0;
    std::uint16_t source = 1;
    std::uint16_t rgb[3] = {0, 0, 0};
};

template <class T>
void Put(std::string& out, T v)
{
    out.append(reinterpret_cast<const char*>(&v), sizeof v);
}

std::string RecordBytes(const std::vector<Record>& points)
{
    std::string out;
    for (const Record& p : points) {
        Put(out, p.x), Put(out, p.y), Put(out, p.z), Put(out, p.intensity);
        Put(out, p.returnByte), Put(out, p.classification), Put(out, p.scanAngle), Put(out, p.userData);
        Put(out, p.source), Put(out, p.rgb[0]), Put(out, p.rgb[1]), Put(out, p.rgb[2]);
    }
    return out;
}

// A LAS 1.2 point format 2 file: 227-byte header, optional records, the points.
std::string LasBytes(const std::string& records, std::uint32_t count, const std::string& vlrs = {},
                     std::uint32_t vlrCount = 0)
{
    std::string h(227, '\0');
    std::memcpy(h.data(), "LASF", 4);
    h[24] = 1, h[25] = 2;
    const auto set = [&](std::size_t at, auto v) { std::memcpy(h.data() + at, &v, sizeof v); };
    set(94, std::uint16_t{227});
    set(96, static_cast<std::uint32_t>(227 + vlrs.size()));
    set(100, vlrCount);
    h[104] = 2;
    set(105, std::uint16_t{26});
    set(107, count);
    for (int d = 0; d < 3; ++d) set(131 + 8 * d, 0.001);
    for (int d = 0; d < 3; ++d) set(155 + 8 * d, 1000.0 * d);
    return h + vlrs + records;
}

std::string Las(const std::vector<Record>& points)
{
    return LasBytes(RecordBytes(points), static_cast<std::uint32_t>(points.size()));
}

// A scan line: small steps, smooth intensity and colour, sometimes several returns.
std::vector<Record> ScanLine(std::size_t n, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<Record> points(n);
    std::int32_t x = 0, y = 500000, z = 20000;
    for (std::size_t i = 0; i < n; ++i) {
        Record& p = points[i];
        x += 10 + static_cast<std::int32_t>(rng() % 7);
        y += static_cast<std::int32_t>(rng() % 5) - 2;
        z += static_cast<std::int32_t>(rng() % 21) - 10;
        p.x = x, p.y = y, p.z = z;
        p.intensity = static_cast<std::uint16_t>(20000 + 5000 * std::sin(i / 300.0) + rng() % 40);
        const std::uint16_t base = static_cast<std::uint16_t>(30000 + 20000 * std::sin(i / 1000.0));
        p.rgb[0] = base, p.rgb[1] = static_cast<std::uint16_t>(base + 500), p.rgb[2] = static_cast<std::uint16_t>(base / 2);
        if (i % 17 == 0) p.rgb[1] = p.rgb[2] = p.rgb[0];   // grey points
        if (i % 5 == 3) p.returnByte = 0x52;   // second of two, other scan direction
        p.scanAngle = static_cast<std::int8_t>(static_cast<int>(i / 100 % 60) - 30);
        p.classification = i % 11 == 0 ? 5 : 2;
        p.source = static_cast<std::uint16_t>(1 + i / 40000);
    }
    return points;
}

// Every byte of every record random: each model and context gets exercised.
std::string RandomRecords(std::size_t n, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    std::string out(n * 26, '\0');
    for (char& c : out) c = static_cast<char>(rng());
    return out;
}

std::vector<Record> Extremes()
{
    const std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    const std::int32_t hi = std::numeric_limits<std::int32_t>::max();
    std::vector<Record> points;
    for (int i = 0; i < 600; ++i) {
        Record p;
        const bool odd = i % 2 != 0;
        p.x = odd ? hi : lo;
        p.y = i % 3 == 0 ? lo : (i % 3 == 1 ? hi : 0);
        p.z = odd ? lo : hi;
        p.intensity = odd ? 65535 : 0;
        p.returnByte = static_cast<std::uint8_t>(i * 37);
        p.classification = static_cast<std::uint8_t>(255 - i);
        p.scanAngle = static_cast<std::int8_t>(odd ? -128 : 127);
        p.userData = static_cast<std::uint8_t>(i);
        p.source = odd ? 65535 : 0;
        p.rgb[0] = odd ? 65535 : 0, p.rgb[1] = odd ? 0 : 65535, p.rgb[2] = static_cast<std::uint16_t>(i * 977);
        points.push_back(p);
    }
    return points;
}

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class LazPackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::path(tessara::TempFolder()) /
                ("lazpack-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override
    {
        tessara::SetWorkerCount(0);
        std::filesystem::remove_all(m_dir);
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }
    //! Files in the folder other than `keep` (temporaries left behind).
    std::vector<std::string> Others(const std::vector<std::string>& keep) const
    {
        std::vector<std::string> others;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
            const std::string name = entry.path().filename().string();
            if (std::find(keep.begin(), keep.end(), name) == keep.end()) others.push_back(name);
        }
        return others;
    }
    // Decodes with laz-perf under node; the decoded records land in `records`.
    void DecodeWithLazPerf(const std::string& laz, std::string& records, std::string& summary) const
    {
        const std::string script = std::string(TESSARA_SOURCE_DIR_PATH) + "/tests/tools/lazperf/laz-decode.js";
        const std::string out = Path("lazperf.bin"), log = Path("lazperf.txt");
        const std::string command = "node '" + script + "' '" + laz + "' '" + out + "' > '" + log + "' 2>&1";
        const int status = std::system(command.c_str());
        summary = Slurp(log);
        ASSERT_EQ(status, 0) << "node with laz-perf (installed by scripts/install-deps.sh) failed: " << summary;
        records = Slurp(out);
        std::filesystem::remove(out);
        std::filesystem::remove(log);
    }
    std::filesystem::path m_dir;
};

struct RoundTrip {
    const char* name;
    std::function<std::string()> records;   // 26-byte records
    std::uint32_t chunkPoints;
};

TEST_F(LazPackTest, RoundTripsThroughOurDecoderAndLazPerf)
{
    const std::vector<Record> same(1000, ScanLine(1, 3)[0]);
    const RoundTrip cases[] = {
        {"120,000 scan-line points, last chunk partial", [] { return RecordBytes(ScanLine(120000, 1)); }, 50000},
        {"exactly one chunk", [] { return RecordBytes(ScanLine(50000, 2)); }, 50000},
        {"one point", [] { return RecordBytes(ScanLine(1, 4)); }, 50000},
        {"two points", [] { return RecordBytes(ScanLine(2, 5)); }, 50000},
        {"identical points", [&] { return RecordBytes(same); }, 50000},
        {"extreme values", [] { return RecordBytes(Extremes()); }, 50000},
        {"random bytes", [] { return RandomRecords(20000, 6); }, 50000},
        {"small chunks", [] { return RandomRecords(1000, 7); }, 7},
        {"no points", [] { return std::string(); }, 50000},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string records = c.records();
        const auto count = static_cast<std::uint32_t>(records.size() / 26);
        const std::string las = Write("in.las", LasBytes(records, count));
        const std::string laz = Path("out.laz");
        std::string error;
        ASSERT_TRUE(lazpack::CompressLasFile(las, laz, error, c.chunkPoints)) << error;

        laztest::LazFile ours;
        ASSERT_TRUE(laztest::ReadLaz(laz, ours, error)) << error;
        EXPECT_EQ(ours.pointCount, count);
        EXPECT_EQ(ours.chunkSize, c.chunkPoints);
        EXPECT_EQ(ours.chunkCount, (count + c.chunkPoints - 1) / c.chunkPoints);
        EXPECT_TRUE(ours.records.size() == records.size() &&
                    (records.empty() || std::memcmp(ours.records.data(), records.data(), records.size()) == 0));
        // The header is the LAS header but for the point offset, record count and format.
        const std::string lasHeader = Slurp(las).substr(0, 227);
        std::string header(ours.header.begin(), ours.header.end());
        EXPECT_EQ(header.substr(0, 96), lasHeader.substr(0, 96));
        EXPECT_EQ(header.substr(105), lasHeader.substr(105));
        EXPECT_EQ(static_cast<std::uint8_t>(header[104]), 0x82);

        std::string decoded, summary;
        DecodeWithLazPerf(laz, decoded, summary);
        EXPECT_EQ(summary, std::to_string(count) + " 2 26\n");
        EXPECT_TRUE(decoded == records) << "laz-perf decodes other points";
        EXPECT_TRUE(Others({"in.las", "out.laz"}).empty());
    }
}

TEST_F(LazPackTest, KeepsTheInputsRecordsAndAddsItsOwn)
{
    // One record of 10 bytes and two pad bytes before the points: the record is kept,
    // the padding dropped.
    std::string vlr(54, '\0');
    std::memcpy(vlr.data() + 2, "someone", 7);
    const std::uint16_t length = 10;
    std::memcpy(vlr.data() + 20, &length, 2);
    vlr += std::string("0123456789") + "pp";
    const std::string records = RecordBytes(ScanLine(300, 9));
    const std::string las = Write("in.las", LasBytes(records, 300, vlr, 1));
    std::string error;
    ASSERT_TRUE(lazpack::CompressLasFile(las, Path("out.laz"), error)) << error;
    laztest::LazFile laz;
    ASSERT_TRUE(laztest::ReadLaz(Path("out.laz"), laz, error)) << error;
    EXPECT_EQ(laz.records, std::vector<std::uint8_t>(records.begin(), records.end()));
    const std::string out = Slurp(Path("out.laz"));
    EXPECT_EQ(out.substr(227, 64), vlr.substr(0, 64));
    std::uint32_t vlrs = 0;
    std::memcpy(&vlrs, out.data() + 100, 4);
    EXPECT_EQ(vlrs, 2u);
    std::string decoded, summary;
    DecodeWithLazPerf(Path("out.laz"), decoded, summary);
    EXPECT_TRUE(decoded == records);
}

TEST_F(LazPackTest, OutputDoesNotDependOnTheNumberOfThreads)
{
    // Standard chunks, and many small ones so that workers run ahead of the writes
    // and wait for them.
    const struct {
        std::size_t points;
        std::uint32_t chunkPoints;
    } cases[] = {{260000, lazpack::kChunkPoints}, {20000, 13}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chunkPoints);
        const std::string las = Write("in.las", Las(ScanLine(c.points, 11)));
        std::string error;
        tessara::SetWorkerCount(1);
        ASSERT_TRUE(lazpack::CompressLasFile(las, Path("one.laz"), error, c.chunkPoints)) << error;
        tessara::SetWorkerCount(4);
        ASSERT_TRUE(lazpack::CompressLasFile(las, Path("four.laz"), error, c.chunkPoints)) << error;
        EXPECT_TRUE(Slurp(Path("one.laz")) == Slurp(Path("four.laz")));
        laztest::LazFile laz;
        ASSERT_TRUE(laztest::ReadLaz(Path("four.laz"), laz, error)) << error;
        const std::string records = Slurp(las).substr(227);
        EXPECT_TRUE(std::string(laz.records.begin(), laz.records.end()) == records);
    }
}

struct Refusal {
    const char* name;
    std::function<void(std::string&)> damage;   // applied to a good 50-point file
};

TEST_F(LazPackTest, RefusesOtherAndBrokenInputAndKeepsTheOldTarget)
{
    const auto set32 = [](std::string& s, std::size_t at, std::uint32_t v) { std::memcpy(s.data() + at, &v, 4); };
    const auto set16 = [](std::string& s, std::size_t at, std::uint16_t v) { std::memcpy(s.data() + at, &v, 2); };
    const Refusal cases[] = {
        {"empty file", [](std::string& s) { s.clear(); }},
        {"not LAS", [](std::string& s) { s[0] = 'X'; }},
        {"cut inside the header", [](std::string& s) { s.resize(200); }},
        {"LAS 1.3", [](std::string& s) { s[25] = 3; }},
        {"point format 1", [](std::string& s) { s[104] = 1; }},
        {"compressed already", [](std::string& s) { s[104] = static_cast<char>(0x82); }},
        {"record length 28", [&](std::string& s) { set16(s, 105, 28); }},
        {"last point cut", [](std::string& s) { s.resize(s.size() - 1); }},
        {"bytes after the points", [](std::string& s) { s += "x"; }},
        {"huge point count", [&](std::string& s) { set32(s, 107, 0xFFFFFFFFu); }},
        {"header size below 227", [&](std::string& s) { set16(s, 94, 100); }},
        {"point offset past the end", [&](std::string& s) { set32(s, 96, 1u << 30); }},
        {"records promised but absent", [&](std::string& s) { set32(s, 100, 5); }},
        {"scale 0", [](std::string& s) { std::memset(s.data() + 131, 0, 8); }},
        {"scale not a number", [](std::string& s) {
             const double nan = std::numeric_limits<double>::quiet_NaN();
             std::memcpy(s.data() + 139, &nan, 8);
         }},
    };
    const std::string good = Las(ScanLine(50, 12));
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = good;
        c.damage(bytes);
        const std::string las = Write("in.las", bytes);
        Write("old.laz", "previous");
        std::string error;
        EXPECT_FALSE(lazpack::CompressLasFile(las, Path("old.laz"), error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(Slurp(Path("old.laz")), "previous");
        EXPECT_TRUE(Others({"in.las", "old.laz"}).empty());
    }
    std::string error;
    EXPECT_FALSE(lazpack::CompressLasFile(Path("missing.las"), Path("new.laz"), error));
    EXPECT_FALSE(lazpack::CompressLasFile(m_dir.string(), Path("new.laz"), error));   // a folder
    EXPECT_FALSE(std::filesystem::exists(Path("new.laz")));
    EXPECT_FALSE(lazpack::CompressLasFile(Write("in.las", good), Path("no/such/folder/out.laz"), error));
    EXPECT_TRUE(Others({"in.las", "old.laz"}).empty());
}

TEST_F(LazPackTest, OurDecoderRefusesDamagedLaz)
{
    const std::string las = Write("in.las", Las(ScanLine(3000, 13)));
    std::string error;
    ASSERT_TRUE(lazpack::CompressLasFile(las, Path("out.laz"), error, 1000)) << error;
    const std::string laz = Slurp(Path("out.laz"));
    laztest::LazFile decoded;
    for (const std::size_t keep : {std::size_t{300}, laz.size() / 2, laz.size() - 3}) {
        SCOPED_TRACE(keep);
        EXPECT_FALSE(laztest::ReadLaz(Write("cut.laz", laz.substr(0, keep)), decoded, error));
    }
}

} // namespace

#include "viewer/files/HostPolygonFile.h"

#include "HostFileFixture.h"
#include "HostFileBytes.h"
#include "HostFileWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

namespace {

using Result = HostPolygonFile::Result;

std::string WriteOverlay(const HostFileFolder& dir, const std::string& name, const hostfile::OverlayFileLayout& layout)
{
    return dir.Write(name, hostfile::WriteOverlayFile(layout));
}

TEST(HostPolygonFileTest, ReadsOriginCornersPointsSegmentsAndPolygons)
{
    HostFileFolder dir;
    const auto layout = hostfile::MakeOverlayExample(3, 2, 4);
    HostPolygonContent c;
    ASSERT_EQ(HostPolygonFile::Read(WriteOverlay(dir, "a.dat", layout), c), Result::Ok);
    EXPECT_EQ(c.originA, hostfile::kExampleY0);
    EXPECT_EQ(c.originB, hostfile::kExampleX0);
    EXPECT_EQ(c.corners[2].x(), hostfile::kExampleX0 + 100);
    EXPECT_EQ(c.corners[2].z(), 1e-16);
    ASSERT_EQ(c.points.size(), 3u);
    EXPECT_EQ(c.points[2].pt.z(), 12.0);
    EXPECT_EQ(c.points[2].colour, 0x0000FFu);
    ASSERT_EQ(c.segments.size(), 2u);
    EXPECT_EQ(c.segments[1].to.y(), hostfile::kExampleY0 + 50);
    ASSERT_EQ(c.polygons.size(), 4u);
    EXPECT_EQ(c.polygons[3].poly.GetCount(), 4);
    EXPECT_EQ(c.polygons[3].colour, 0x00FF00u);
    EXPECT_TRUE(HostPolygonFile::MayDelete(Result::Ok));
}

TEST(HostPolygonFileTest, EmptyNegativeAndZeroVertexCountsAreNone)
{
    HostFileFolder dir;
    auto layout = hostfile::MakeOverlayExample(0, 0, 0);
    HostPolygonContent c;
    EXPECT_EQ(HostPolygonFile::Read(WriteOverlay(dir, "none.dat", layout), c), Result::Ok);
    EXPECT_TRUE(c.points.empty() && c.segments.empty() && c.polygons.empty());

    layout.polygons = {{}};   // a polygon of m = 0: read, no vertices
    ASSERT_EQ(HostPolygonFile::Read(WriteOverlay(dir, "m0.dat", layout), c), Result::Ok);
    ASSERT_EQ(c.polygons.size(), 1u);
    EXPECT_EQ(c.polygons[0].poly.GetCount(), 0);

    // A negative count: none, and the next count follows at once.
    hostfile::HostFileBytes bytes;
    bytes.U32(0x40474C56);
    bytes.U16(0x0100);
    for (int i = 0; i < 74 + 16 + 64; ++i) bytes.U8(0);
    bytes.I32(-5);
    bytes.I32(0);
    bytes.I32(-1);
    ASSERT_EQ(HostPolygonFile::Read(dir.Write("neg.dat", bytes.Bytes()), c), Result::Ok);
    EXPECT_TRUE(c.points.empty() && c.segments.empty() && c.polygons.empty());
}

TEST(HostPolygonFileTest, EveryCutPointIsDamagedAndLeavesNothing)
{
    HostFileFolder dir;
    const std::vector<std::uint8_t> whole = hostfile::WriteOverlayFile(hostfile::MakeOverlayExample(3, 2, 2));
    for (std::size_t keep = 6; keep < whole.size(); ++keep) {
        HostPolygonContent c;
        const Result r = HostPolygonFile::Read(dir.Write("cut.dat", {whole.begin(), whole.begin() + keep}), c);
        ASSERT_EQ(r, Result::Damaged) << "cut at " << keep;
        EXPECT_TRUE(c.points.empty() && c.segments.empty() && c.polygons.empty()) << keep;
        EXPECT_FALSE(HostPolygonFile::MayDelete(r));
    }
}

TEST(HostPolygonFileTest, ForeignDamagedAndHugeFilesAreRefused)
{
    HostFileFolder dir;
    HostPolygonContent c;
    EXPECT_EQ(HostPolygonFile::Read(dir.Path("missing.dat"), c), Result::Missing);
    EXPECT_EQ(HostPolygonFile::Read(dir.Write("foreign.txt", {'h', 'e', 'l', 'l', 'o', '!', '!'}), c), Result::WrongMagic);
    auto bytes = hostfile::WriteOverlayFile(hostfile::MakeOverlayExample(1, 0, 0));
    bytes[4] = 0x01;
    bytes[5] = 0x02;
    EXPECT_EQ(HostPolygonFile::Read(dir.Write("version.dat", bytes), c), Result::WrongVersion);

    auto layout = hostfile::MakeOverlayExample(2, 0, 0);
    layout.points[1][0] = std::numeric_limits<double>::quiet_NaN();
    std::string why;
    EXPECT_EQ(HostPolygonFile::Read(WriteOverlay(dir, "nan.dat", layout), c, &why), Result::Damaged);
    EXPECT_NE(why.find("not finite"), std::string::npos) << why;

    // A count far beyond the bytes left is refused before anything is reserved.
    bytes = hostfile::WriteOverlayFile(hostfile::MakeOverlayExample(0, 0, 0));
    const std::size_t countAt = 6 + 74 + 16 + 64;
    bytes[countAt] = 0xFF, bytes[countAt + 1] = 0xFF, bytes[countAt + 2] = 0xFF, bytes[countAt + 3] = 0x7F;
    EXPECT_EQ(HostPolygonFile::Read(dir.Write("huge.dat", bytes), c), Result::Damaged);

    bytes = hostfile::WriteOverlayFile(hostfile::MakeOverlayExample(1, 1, 1));
    bytes.resize(bytes.size() - 1);
    EXPECT_EQ(HostPolygonFile::Read(dir.Write("short.dat", bytes), c), Result::Damaged) << "one byte short";
    EXPECT_TRUE(std::filesystem::exists(dir.Path("short.dat"))) << "reading never deletes";
}

// Bytes after the last polygon do not cost the host its overlay: every record the
// file announces is read, and the rest is counted for the log.
TEST(HostPolygonFileTest, BytesAfterTheLastPolygonLeaveTheRecordsWhole)
{
    HostFileFolder dir;
    struct Case {
        int points, segments, polygons;
        std::size_t extra;
    } cases[] = {{1, 1, 1, 1}, {3, 2, 2, 57}, {0, 0, 0, 8}, {2, 0, 1, 0}};
    for (const Case& k : cases) {
        auto bytes = hostfile::WriteOverlayFile(hostfile::MakeOverlayExample(k.points, k.segments, k.polygons));
        bytes.insert(bytes.end(), k.extra, std::uint8_t{0xAB});
        HostPolygonContent c;
        std::string why;
        const Result r = HostPolygonFile::Read(dir.Write("tail.dat", bytes), c, &why);
        ASSERT_EQ(r, Result::Ok) << k.extra << ": " << why;
        EXPECT_TRUE(HostPolygonFile::MayDelete(r));
        EXPECT_EQ(c.points.size(), std::size_t(k.points));
        EXPECT_EQ(c.segments.size(), std::size_t(k.segments));
        EXPECT_EQ(c.polygons.size(), std::size_t(k.polygons));
        EXPECT_EQ(c.bytesAfterLastPolygon, k.extra);
    }
}

}  // namespace

#include "viewer/files/HostDataContent.h"
#include "viewer/files/HostDataFileReader.h"
#include "viewer/files/MakeUniqueGroupName.h"

#include "HostFileFixture.h"
#include "HostFileWriter.h"

#include "outside/StoreMarkers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using Result = HostDataFileReader::Result;

namespace {

HostDataFileReader::Result ReadFresh(const std::string& path, HostDataContent& out, std::string* error = nullptr)
{
    HostDataFileReader reader(MTRX(), false);
    const auto r = reader.Read(path, out);
    if (error) *error = reader.Error();
    return r;
}

}  // namespace

struct FlagCase {
    const char* name;
    hostfile::ExampleCounts counts;
    std::int32_t flags;
};

class HostDataFlagsTest : public ::testing::TestWithParam<FlagCase> {};

TEST_P(HostDataFlagsTest, SectionsPresentAreReadAndNothingElse)
{
    HostFileFolder dir;
    const auto& c = GetParam();
    const auto layout = hostfile::MakeExample(c.counts);
    ASSERT_EQ(layout.flags, c.flags);
    HostDataContent out;
    ASSERT_EQ(ReadFresh(dir.WriteLayout("a.dat", layout), out), Result::Ok);
    EXPECT_EQ(out.hasCad, (c.flags & 1) != 0);
    EXPECT_EQ(out.hasGroup, (c.flags & 2) != 0);
    EXPECT_EQ(out.hasPart, (c.flags & 4) != 0);
    EXPECT_EQ(out.hasViewCloud, (c.flags & 8) != 0);
    EXPECT_EQ(int(out.figures.size()), c.counts.cad);
    EXPECT_EQ(out.partPointCount, c.counts.part);
    EXPECT_EQ(out.partPoint3D.GetCloudPointSize() + out.partPoint2D.GetCloudPointSize(), c.counts.part);
    EXPECT_EQ(out.partLineCount, std::max(0, c.counts.part - 1));
    EXPECT_EQ(out.viewCloud.GetCloudPointSize(), c.counts.tin);
    EXPECT_EQ(out.group ? out.group->GetCloudPointSize() : 0, c.counts.points);
    EXPECT_TRUE(out.transformSet);
    EXPECT_TRUE(out.cornersValid);
    EXPECT_EQ(out.AddsData(), c.counts.points + c.counts.tin + c.counts.cad + c.counts.part > 0);
}

INSTANTIATE_TEST_SUITE_P(Combinations, HostDataFlagsTest, ::testing::Values(
    FlagCase{"group_only", {10, 0, 0, 0}, 0x02},
    FlagCase{"cad_only", {0, 0, 8, 0}, 0x01},
    FlagCase{"part_only", {0, 0, 0, 5}, 0x04},
    FlagCase{"view_cloud_only", {0, 9, 0, 0}, 0x08},
    FlagCase{"cad_and_group", {16, 0, 4, 0}, 0x03},
    FlagCase{"everything", {25, 16, 8, 6}, 0x0F}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostDataFileReaderTest, ReferencePointMapsToTheOriginAndAxesExchange)
{
    HostFileFolder dir;
    auto layout = hostfile::MakeExample({0, 4, 0, 0});  // view cloud: transform from X0, Y0
    HostDataContent out;
    ASSERT_EQ(ReadFresh(dir.WriteLayout("a.dat", layout), out), Result::Ok);
    EXPECT_TRUE(out.transformSetByFile);
    double x = hostfile::kExampleX0 + 3, y = hostfile::kExampleY0 + 7;
    out.surveyTransform.XY(&x, &y);
    EXPECT_DOUBLE_EQ(x, 7.0);  // user x = host Y - Y0
    EXPECT_DOUBLE_EQ(y, 3.0);  // user y = host X - X0
    EXPECT_DOUBLE_EQ(out.reference.x(), 0.0);
    EXPECT_DOUBLE_EQ(out.corners[2].x(), 2.0);
}

TEST(HostDataFileReaderTest, AddGroupFormTakesTheTransformFromTheGroupAndKeepsAnExistingOne)
{
    HostFileFolder dir;
    auto layout = hostfile::MakeExample({4, 0, 0, 0});
    layout.groupReference = {hostfile::kExampleX0 + 100, hostfile::kExampleY0 + 200, 7.5};
    const std::string path = dir.WriteLayout("a.dat", layout);
    HostDataContent fresh;
    ASSERT_EQ(ReadFresh(path, fresh), Result::Ok);
    EXPECT_DOUBLE_EQ(fresh.groupCentre.x(), 0.0);
    EXPECT_DOUBLE_EQ(fresh.groupCentre.y(), 0.0);
    EXPECT_DOUBLE_EQ(fresh.groupCentre.z(), 7.5);

    MTRX existing;
    existing.Move(1000, 2000);
    HostDataFileReader reader(existing, true);
    HostDataContent later;
    ASSERT_EQ(reader.Read(path, later), Result::Ok);
    EXPECT_FALSE(later.transformSetByFile);
    EXPECT_EQ(later.surveyTransform, existing);
    EXPECT_DOUBLE_EQ(later.groupCentre.x(), hostfile::kExampleX0 + 100 + 1000);
}

TEST(HostDataFileReaderTest, NanElevationsBecomeUnsetAndNonFiniteXRejectsTheFile)
{
    HostFileFolder dir;
    auto layout = hostfile::MakeExample({3, 3, 4, 2});
    layout.groupPoints[1].p.z = std::numeric_limits<double>::quiet_NaN();
    layout.viewCloud[0].z = std::numeric_limits<double>::quiet_NaN();
    layout.figures[1].elevation = std::numeric_limits<double>::quiet_NaN();
    HostDataContent out;
    ASSERT_EQ(ReadFresh(dir.WriteLayout("a.dat", layout), out), Result::Ok);
    // Figure 1 has a NaN middle point: stored unset.
    EXPECT_TRUE(IsUnsetValue(out.figures[1].m_ptLists[0][1].z()));
    EXPECT_TRUE(IsUnsetValue(out.figures[1].m_dZ));
    float x, y, z;
    COLORREF colour;
    double intensity;
    ASSERT_EQ(out.group->GetCloudPointVal(1, x, y, z, colour, intensity), 1);
    EXPECT_TRUE(IsUnsetValue(z));
    ASSERT_EQ(out.viewCloud.GetCloudPointVal(0, x, y, z, colour, intensity), 1);
    EXPECT_TRUE(IsNoElevation(z));
    EXPECT_EQ(colour, 0x00804000u);

    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        auto broken = hostfile::MakeExample({3, 0, 0, 0});
        broken.groupPoints[2].p.x = bad;
        HostDataContent none;
        std::string error;
        EXPECT_EQ(ReadFresh(dir.WriteLayout("b.dat", broken), none, &error), Result::Damaged);
        EXPECT_FALSE(error.empty());
    }
}

TEST(HostDataFileReaderTest, PartLinesGoToTheListOfTheirVertices)
{
    HostFileFolder dir;
    auto layout = hostfile::MakeExample({0, 0, 0, 4});  // vertices alternate with / without elevation
    layout.partLines = {{0, 2, 5}, {0, 1, 6}, {3, 1, 7}};
    HostDataContent out;
    ASSERT_EQ(ReadFresh(dir.WriteLayout("a.dat", layout), out), Result::Ok);
    ASSERT_EQ(out.partLine3D.size(), 1u);
    ASSERT_EQ(out.partLine2D.size(), 2u);
    EXPECT_EQ(out.partLine3D[0].value, 5u);
    EXPECT_EQ(out.partLineVertex3D.GetVertexSize(), 2);
    EXPECT_EQ(out.partLineVertex2D.GetVertexSize(), 4);
    EXPECT_EQ(out.partLine2D[1].v1, 3);
    EXPECT_EQ(out.partLine2D[1].v2, 1);
    EXPECT_EQ(out.partPoint3D.GetCloudPointSize(), 2);
    EXPECT_EQ(out.partPoint2D.GetCloudPointSize(), 2);
}

TEST(HostDataFileReaderTest, TrailingBytesAreIgnoredAndZeroFiguresReadNothing)
{
    HostFileFolder dir;
    std::vector<std::uint8_t> bytes;
    hostfile::HostFileLayout layout = hostfile::MakeExample({0, 0, 1, 0});
    layout.figures.clear();
    ASSERT_TRUE(hostfile::WriteHostFile(layout, bytes));
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5});
    HostDataContent out;
    ASSERT_EQ(ReadFresh(dir.Write("a.dat", bytes), out), Result::Ok);
    EXPECT_TRUE(out.hasCad);
    EXPECT_FALSE(out.AddsData());
}

TEST(HostDataFileReaderTest, EveryCutPointIsRefused)
{
    HostFileFolder dir;
    std::vector<std::uint8_t> whole;
    ASSERT_TRUE(hostfile::WriteHostFile(hostfile::MakeExample({5, 4, 4, 3}), whole));
    for (std::size_t k = 0; k < whole.size(); ++k) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + std::ptrdiff_t(k));
        HostDataContent out;
        const Result r = ReadFresh(dir.Write("cut.dat", cut), out);
        const Result expected = k < 4 ? Result::WrongMagic : k < 6 ? Result::WrongVersion : Result::Damaged;
        ASSERT_EQ(r, expected) << "cut at " << k << " of " << whole.size();
    }
}

struct BrokenCase {
    const char* kind;
    Result result;
};

class HostDataBrokenTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(HostDataBrokenTest, DamageIsReportedNeverLoaded)
{
    HostFileFolder dir;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(hostfile::MakeBroken(GetParam().kind, {6, 4, 4, 3}, bytes));
    HostDataContent out;
    std::string error;
    EXPECT_EQ(ReadFresh(dir.Write("x.dat", bytes), out, &error), GetParam().result);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(HostDataFileReader::HeaderPassed(GetParam().result), GetParam().result == Result::Damaged);
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostDataBrokenTest, ::testing::Values(
    BrokenCase{"magic", Result::WrongMagic}, BrokenCase{"version", Result::WrongVersion},
    BrokenCase{"huge-count", Result::Damaged}, BrokenCase{"bad-index", Result::Damaged},
    BrokenCase{"unterminated-string", Result::Damaged}),
    [](const auto& info) {
        std::string n = info.param.kind;
        for (char& ch : n) if (ch == '-') ch = '_';
        return n;
    });

TEST(HostDataFileReaderTest, MissingFileAndFolderAreTold)
{
    HostFileFolder dir;
    HostDataContent out;
    EXPECT_EQ(ReadFresh(dir.Path("none.dat"), out), Result::Missing);
    EXPECT_EQ(ReadFresh(dir.Path(""), out), Result::CannotOpen);  // a folder, not a file
}

TEST(HostDataFileReaderTest, WideGroupNamesAreRead)
{
    HostFileFolder dir;
    auto layout = hostfile::MakeExample({2, 0, 0, 0});
    layout.groupName = "点群 2";
    layout.groupNameWide = true;
    HostDataContent out;
    ASSERT_EQ(ReadFresh(dir.WriteLayout("a.dat", layout), out), Result::Ok);
    EXPECT_EQ(out.groupName, "点群 2");
}

struct NameCase {
    const char* label;
    std::vector<std::pair<std::string, int>> existing;
    std::string name;
    int number;
};

class MakeUniqueGroupNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(MakeUniqueGroupNameTest, NumberIsTheLowestFreeOne)
{
    CModelDataMng store;
    for (const auto& [name, number] : GetParam().existing) {
        auto g = std::make_unique<CPCloudMng>();
        g->m_name = name;
        g->m_nNameNumber = number;
        store.AddGroup(std::move(g));
    }
    CPCloudMng group;
    MakeUniqueGroupName(GetParam().name, store, group, 0);
    EXPECT_EQ(group.m_name, GetParam().name);
    EXPECT_EQ(group.m_nNameNumber, GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Cases, MakeUniqueGroupNameTest, ::testing::Values(
    NameCase{"empty_store", {}, "A", 0},
    NameCase{"same_name", {{"A", 0}}, "A", 1},
    NameCase{"same_name_and_label_two", {{"A", 0}, {"A 2", 0}}, "A", 2},
    NameCase{"gap_is_reused", {{"A", 0}, {"A", 2}}, "A", 1},
    NameCase{"leading_zero_is_no_number", {{"A", 0}, {"A 02", 0}}, "A", 1},
    NameCase{"label_of_numbered_group", {{"B", 1}}, "B 2", 1},
    NameCase{"other_names", {{"A", 0}, {"AB", 0}}, "B", 0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(MakeUniqueGroupNameTest, ExcludeLastSkipsTheAppendedGroup)
{
    CModelDataMng store;
    auto g = std::make_unique<CPCloudMng>();
    g->m_name = "A";
    store.AddGroup(std::move(g));
    auto appended = std::make_unique<CPCloudMng>();
    CPCloudMng* self = appended.get();
    store.AddGroup(std::move(appended));
    MakeUniqueGroupName("A", store, *self, 1);
    EXPECT_EQ(self->m_nNameNumber, 1);
}

TEST(HostDataFileReaderTest, RandomDamageNeverCrashes)
{
    HostFileFolder dir;
    std::vector<std::uint8_t> whole;
    ASSERT_TRUE(hostfile::WriteHostFile(hostfile::MakeExample({6, 5, 8, 4}), whole));
    std::uint32_t seed = 777;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    int refused = 0;
    for (int round = 0; round < 500; ++round) {
        std::vector<std::uint8_t> damaged = whole;
        for (int k = 0; k < 1 + round % 4; ++k) damaged[6 + next() % (damaged.size() - 6)] = std::uint8_t(next());
        HostDataContent out;
        refused += ReadFresh(dir.Write("d.dat", damaged), out) != Result::Ok ? 1 : 0;
    }
    EXPECT_GT(refused, 0);
}

// Groups large enough to be read in parts on worker threads give what a point by
// point reading gives, and a bad record anywhere rejects the file with the reason
// of the first one.
TEST(HostDataFileReaderTest, LargeGroupsReadInPartsMatchTheirRecords)
{
    HostFileFolder dir;
    constexpr int kPoints = 1'200'000;
    auto layout = hostfile::MakeExample({kPoints, 0, 0, 0});
    layout.groupPoints[7].p.z = std::numeric_limits<double>::quiet_NaN();
    layout.groupPoints[kPoints - 3].intensity = std::numeric_limits<double>::infinity();
    HostDataContent out;
    ASSERT_EQ(ReadFresh(dir.WriteLayout("big.dat", layout), out), Result::Ok);
    ASSERT_NE(out.group, nullptr);
    ASSERT_EQ(out.group->GetCloudPointSize(), kPoints);
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int i = 0; i < kPoints; ++i) {
        const auto& want = layout.groupPoints[std::size_t(i)];
        double x = want.p.x, y = want.p.y;
        out.surveyTransform.XY(&x, &y);
        const auto& got = out.group->m_points[std::size_t(i)];
        ASSERT_EQ(got.x, float(x)) << i;
        ASSERT_EQ(got.y, float(y)) << i;
        ASSERT_EQ(got.z, i == 7 ? float(kUnsetDouble) : float(want.p.z)) << i;
        ASSERT_EQ(got.colour, want.colour) << i;
        ASSERT_EQ(got.intensity, i == kPoints - 3 ? 0.0 : want.intensity) << i;
        minX = i == 0 ? got.x : std::min(minX, got.x);
        maxX = i == 0 ? got.x : std::max(maxX, got.x);
        minY = i == 0 ? got.y : std::min(minY, got.y);
        maxY = i == 0 ? got.y : std::max(maxY, got.y);
    }
    EXPECT_EQ(out.group->GetPCloudMinX(), minX);
    EXPECT_EQ(out.group->GetPCloudMaxX(), maxX);
    EXPECT_EQ(out.group->GetPCloudMinY(), minY);
    EXPECT_EQ(out.group->GetPCloudMaxY(), maxY);
    std::size_t inGrid = 0;
    for (const GridCell& cell : out.group->m_grid) {
        EXPECT_TRUE(std::is_sorted(cell.indices.begin(), cell.indices.end()));
        inGrid += cell.indices.size();
    }
    EXPECT_EQ(inGrid, std::size_t(kPoints));

    auto broken = layout;
    broken.groupPoints[1'000'000].p.x = 1e300;  // out of float range after the transform
    broken.groupPoints[900'000].p.y = std::numeric_limits<double>::quiet_NaN();
    HostDataContent none;
    std::string error;
    EXPECT_EQ(ReadFresh(dir.WriteLayout("bad.dat", broken), none, &error), Result::Damaged);
    EXPECT_EQ(error, "a coordinate is not a number");
    EXPECT_EQ(none.group, nullptr);
    broken.groupPoints[900'000].p.y = layout.groupPoints[900'000].p.y;
    EXPECT_EQ(ReadFresh(dir.WriteLayout("bad.dat", broken), none, &error), Result::Damaged);
    EXPECT_EQ(error, "a coordinate is out of range");
}

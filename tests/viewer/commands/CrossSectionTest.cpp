#include "viewer/commands/CrossSection.h"

#include "outside/CModelDataMng.h"
#include "outside/GeoFunc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

// One stroke a character, a quarter wide: enough to see where labels stand.
class BoxFont : public SectionLabelFont {
public:
    int Write(const std::string& text, std::vector<LN>& strokes) override
    {
        texts.push_back(text);
        for (std::size_t i = 0; i < text.size(); ++i)
            strokes.emplace_back(PT(0.25 * double(i), 0.0), PT(0.25 * double(i) + 0.25, 0.5));
        return static_cast<int>(text.size());
    }
    std::vector<std::string> texts;
};

struct Pt3 {
    float x, y, z;
};

void AddCloud(CModelDataMng& store, const std::vector<Pt3>& points, bool shown = true)
{
    auto group = std::make_unique<CPCloudMng>();
    for (const Pt3& p : points)
        group->AddCloudPoint(p.x, p.y, p.z, 0, 0.0);
    group->CreateGrid();
    group->m_nShowGroup = shown ? 1 : 0;
    store.AddGroup(std::move(group));
}

// A TIN group of two triangles over the square [x0, x1] x [y0, y1] with the
// corners' heights.
void AddTin(CModelDataMng& store, float x0, float y0, float x1, float y1, std::array<float, 4> z)
{
    auto group = std::make_unique<CPCloudMng>();
    group->AddVertex(x0, y0, z[0]);
    group->AddVertex(x1, y0, z[1]);
    group->AddVertex(x1, y1, z[2]);
    group->AddVertex(x0, y1, z[3]);
    group->m_triangles.emplace_back(0, 1, 2);
    group->m_triangles.emplace_back(0, 2, 3);
    group->CVertexMng::CreateGrid();
    store.AddGroup(std::move(group));
}

void ExpectFinite(const SectionSheet& sheet)
{
    const auto finite = [](const PT& p) { return std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z()); };
    for (const LN& s : sheet.segments)
        ASSERT_TRUE(finite(s.Pt1) && finite(s.Pt2));
    for (const PT& p : sheet.profile)
        ASSERT_TRUE(finite(p));
    for (const PT& p : sheet.anchors)
        ASSERT_TRUE(finite(p));
    ASSERT_TRUE(std::isfinite(sheet.length) && std::isfinite(sheet.leftHeight) && std::isfinite(sheet.rightHeight));
}

std::vector<int> Kinds(const SectionSheet& sheet)
{
    std::vector<int> kinds;
    for (const SectionRecord& r : sheet.records)
        kinds.push_back(r.kind);
    return kinds;
}

struct BuildCase {
    const char* name;
    std::vector<Pt3> cloud;
    bool tin;                       // the square (2,-5)-(8,5) rising from z 10 to 16 in x
    PT second;                      // the first end is (0, 0, 12)
    std::vector<int> kinds;         // record kinds in station order
    std::vector<double> stations;
    double zmin, zmax;
    bool stationGrid, elevationGrid;
    bool heightsSet;
};

class CrossSectionBuildTest : public ::testing::TestWithParam<BuildCase> {};

TEST_P(CrossSectionBuildTest, ProfileAndSheet)
{
    const BuildCase& c = GetParam();
    CModelDataMng store;
    if (!c.cloud.empty())
        AddCloud(store, c.cloud);
    if (c.tin)
        AddTin(store, 2.0f, -5.0f, 8.0f, 5.0f, {10.0f, 16.0f, 16.0f, 10.0f});
    BoxFont font;
    SectionSettings settings;
    settings.corridorHalfWidth = 0.2;
    settings.minSpacing = 0.3;
    const auto sheet = CrossSection::Build(store, SectionSpace(), PT(0.0, 0.0, 12.0), c.second, settings, &font);
    ASSERT_TRUE(sheet);
    ExpectFinite(*sheet);
    EXPECT_EQ(Kinds(*sheet), c.kinds);
    ASSERT_EQ(sheet->records.size(), c.stations.size());
    for (std::size_t i = 0; i < c.stations.size(); ++i)
        EXPECT_NEAR(sheet->records[i].station, c.stations[i], 1e-6) << i;
    EXPECT_DOUBLE_EQ(sheet->zmin, c.zmin);
    EXPECT_DOUBLE_EQ(sheet->zmax, c.zmax);
    EXPECT_EQ(sheet->stationGrid, c.stationGrid);
    EXPECT_EQ(sheet->elevationGrid, c.elevationGrid);
    EXPECT_EQ(sheet->leftHeight != 1e-16, c.heightsSet);
    EXPECT_EQ(sheet->profile.size(), sheet->records.size());
    // Frame, baseline and both elevation axes are always there.
    EXPECT_GE(sheet->segments.size(), 7u);
    // Nothing grows without bound: a grid left out leaves the sheet small.
    EXPECT_LT(sheet->segments.size(), 200000u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CrossSectionBuildTest,
    ::testing::Values(
        BuildCase{"NoData", {}, false, PT(10.0, 0.0, 14.0), {0, 0}, {0.0, 10.0}, 12.0, 14.0, true, true, false},
        BuildCase{"CloudInCorridor",
                  {{3.0f, 0.1f, 11.0f}, {6.0f, -0.15f, 13.0f}, {6.0f, 0.5f, 99.0f}, {-1.0f, 0.0f, 99.0f}},
                  false, PT(10.0, 0.0, 14.0), {0, 1, 1, 0}, {0.0, 3.0, 6.0, 10.0}, 11.0, 14.0, true, true, true},
        BuildCase{"UnsetHeightsLeftOut",
                  {{3.0f, 0.0f, 1e-16f}, {4.0f, 0.0f, 1e-7f}, {5.0f, 0.0f, 13.0f}},
                  false, PT(10.0, 0.0, 14.0), {0, 1, 0}, {0.0, 5.0, 10.0}, 12.0, 14.0, true, true, true},
        BuildCase{"TinCrossings", {}, true, PT(10.0, 0.0, 14.0), {0, 2, 2, 2, 0}, {0.0, 2.0, 5.0, 8.0, 10.0}, 10.0,
                  16.0, true, true, true},
        BuildCase{"StrayHeight", {{4.0f, 0.0f, 1e6f}}, false, PT(10.0, 0.0, 14.0), {0, 1, 0}, {0.0, 4.0, 10.0},
                  12.0, 1e6, true, false, true},
        BuildCase{"LongSection", {}, false, PT(1e6, 0.0, 14.0), {0, 0}, {0.0, 1e6}, 12.0, 14.0, false, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CrossSectionTest, SecondPointAtFirstPlanPositionBuildsNothing)
{
    CModelDataMng store;
    AddTin(store, -5.0f, -5.0f, 5.0f, 5.0f, {1.0f, 1.0f, 1.0f, 1.0f});
    EXPECT_FALSE(CrossSection::Build(store, SectionSpace(), PT(1.0, 1.0, 0.0), PT(1.0, 1.0, 9.0), {}, nullptr));
    EXPECT_FALSE(CrossSection::Build(store, SectionSpace(), PT(NAN, 1.0, 0.0), PT(1.0, 2.0, 9.0), {}, nullptr));
}

struct EndHeightCase {
    const char* name;
    double z0, z1;
    std::vector<Pt3> cloud;
    bool elevationGrid;
};

class CrossSectionEndHeightTest : public ::testing::TestWithParam<EndHeightCase> {};

TEST_P(CrossSectionEndHeightTest, EndsWithoutHeightsAndFarHeightsGiveAFiniteSheet)
{
    const EndHeightCase& c = GetParam();
    CModelDataMng store;
    if (!c.cloud.empty())
        AddCloud(store, c.cloud);
    BoxFont font;
    const auto sheet =
        CrossSection::Build(store, SectionSpace(), PT(0.0, 0.0, c.z0), PT(10.0, 0.0, c.z1), {}, &font);
    ASSERT_TRUE(sheet);
    ExpectFinite(*sheet);
    EXPECT_EQ(sheet->leftHeight, 1e-16);
    EXPECT_EQ(sheet->elevationGrid, c.elevationGrid);
    EXPECT_LT(sheet->segments.size(), 2000u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CrossSectionEndHeightTest,
    ::testing::Values(EndHeightCase{"NoHeightsNoData", NAN, 1e-16, {}, true},
                      EndHeightCase{"NoHeightsOneHit", NAN, NAN, {{5.0f, 0.0f, 13.0f}}, true},
                      EndHeightCase{"FarHeight", 1e-16, 1e-16, {{5.0f, 0.0f, 1e30f}}, true},
                      EndHeightCase{"FarApart", 1e-16, -1e30, {{5.0f, 0.0f, 1e30f}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CrossSectionTest, OnlyShownTinsAreCrossed)
{
    const auto triangle = [](CVertexMng& tin, float z) {
        tin.AddVertex(4.0f, -1.0f, z);
        tin.AddVertex(6.0f, -1.0f, z);
        tin.AddVertex(5.0f, 1.0f, z);
        tin.m_triangles.emplace_back(0, 1, 2);
    };
    struct Case {
        int cadGroup, cadTin, cloudGroup, cloudTin;
        std::vector<double> heights;
    };
    for (const Case& c : {Case{1, 1, 1, 1, {7.0, 7.0, 9.0, 9.0}}, Case{0, 1, 1, 1, {9.0, 9.0}},
                          Case{1, 0, 1, 0, {}}, Case{1, 1, 0, 1, {7.0, 7.0}}}) {
        CModelDataMng store;
        triangle(store.m_cadTin, 7.0f);
        triangle(store.m_viewCloud, 9.0f);
        store.m_nShowCAD = c.cadGroup;
        store.m_nShowCADTin = c.cadTin;
        store.m_viewCloud.m_nShowGroup = c.cloudGroup;
        store.m_viewCloud.m_nShowTin = c.cloudTin;
        SectionSettings settings;
        settings.minSpacing = 0.0;
        const auto sheet =
            CrossSection::Build(store, SectionSpace(), PT(0.0, 0.0, 8.0), PT(10.0, 0.0, 8.0), settings, nullptr);
        ASSERT_TRUE(sheet);
        std::vector<double> heights;
        for (const PT& p : sheet->tinHits)
            heights.push_back(p.z());
        std::sort(heights.begin(), heights.end());
        EXPECT_EQ(heights, c.heights) << c.cadGroup << c.cadTin << c.cloudGroup << c.cloudTin;
    }
}

TEST(CrossSectionTest, HiddenGroupsGiveNoHits)
{
    CModelDataMng store;
    AddCloud(store, {{5.0f, 0.0f, 13.0f}}, false);
    const auto sheet = CrossSection::Build(store, SectionSpace(), PT(0.0, 0.0, 12.0), PT(10.0, 0.0, 14.0), {}, nullptr);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->records.size(), 2u);
    EXPECT_TRUE(sheet->pointHits.empty());
}

TEST(CrossSectionTest, SecondTinCrossesWithItsOwnVertices)
{
    CModelDataMng store;
    AddTin(store, -5.0f, 10.0f, 5.0f, 20.0f, {50.0f, 50.0f, 50.0f, 50.0f});   // off the line
    AddTin(store, 2.0f, -5.0f, 8.0f, 5.0f, {10.0f, 10.0f, 10.0f, 10.0f});
    SectionSettings settings;
    settings.throughPoints = false;
    settings.minSpacing = 0.0;
    const auto sheet = CrossSection::Build(store, SectionSpace(), PT(0.0, 0.0, 10.0), PT(10.0, 0.0, 10.0), settings, nullptr);
    ASSERT_TRUE(sheet);
    ASSERT_FALSE(sheet->tinHits.empty());
    for (const PT& p : sheet->tinHits) {
        EXPECT_DOUBLE_EQ(p.z(), 10.0);
        EXPECT_GE(p.x(), 2.0);
        EXPECT_LE(p.x(), 8.0);
    }
}

struct ThinCase {
    const char* name;
    std::vector<double> stations;   // first and last are the ends
    std::vector<double> kept;
};

class CrossSectionThinTest : public ::testing::TestWithParam<ThinCase> {};

TEST_P(CrossSectionThinTest, DropsCloseHitsButNotTheOneBeforeTheEnd)
{
    std::vector<SectionRecord> profile;
    const auto& s = GetParam().stations;
    for (std::size_t i = 0; i < s.size(); ++i)
        profile.push_back({PT(s[i], 0.0, 1.0), s[i], i == 0 || i + 1 == s.size() ? 0 : 1});
    CrossSection::ThinProfile(profile, 0.3);
    std::vector<double> kept;
    for (const SectionRecord& r : profile)
        kept.push_back(r.station);
    EXPECT_EQ(kept, GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Cases, CrossSectionThinTest,
                         ::testing::Values(ThinCase{"LaterDropped", {0, 1.0, 1.1, 2.0, 5.0}, {0, 1.0, 2.0, 5.0}},
                                           ThinCase{"BeforeEndKept", {0, 1.0, 1.1, 5.0}, {0, 1.0, 1.1, 5.0}},
                                           ThinCase{"ChainAgainstKept", {0, 1.0, 1.2, 1.4, 3.0, 5.0}, {0, 1.0, 1.4, 3.0, 5.0}},
                                           ThinCase{"NearStartDropped", {0, 0.1, 2.0, 5.0}, {0, 2.0, 5.0}}),
                         [](const auto& info) { return std::string(info.param.name); });

std::vector<SectionRecord> EndsAndHit(const PT& p0, const PT& p1, double hitZ)
{
    const double length = p0.Length2D(p1);
    return {{p0, 0.0, 0}, {PT((p0.x() + p1.x()) / 2, (p0.y() + p1.y()) / 2, hitZ), length / 2, 1}, {p1, length, 0}};
}

TEST(CrossSectionTest, ElevationGridStartsAtAMultipleOfFiveEqualToTheLowest)
{
    BoxFont font;
    const PT p0(0.0, 0.0, 15.0), p1(12.0, 0.0, 17.3);
    const SectionSheet sheet = CrossSection::BuildSheet(EndsAndHit(p0, p1, 16.0), p0, p1, SectionSpace(), &font);
    // Stations 0, 5, 10 and elevation 15 twice.
    EXPECT_EQ(font.texts, (std::vector<std::string>{"0.0", "5.0", "10.0", "15.0", "15.0"}));
    EXPECT_DOUBLE_EQ(sheet.leftHeight, 0.0);
    EXPECT_NEAR(sheet.rightHeight, 2.3, 1e-12);
    // The height anchors sit beyond the four-character labels, at mid height.
    EXPECT_NEAR(sheet.anchors[1].x(), -2.2 - 4 * 0.25, 1e-12);
    EXPECT_NEAR(sheet.anchors[2].x(), 12.0 + 2.2 + 4 * 0.25, 1e-12);
    EXPECT_NEAR(sheet.anchors[1].z(), (15.0 + 17.3) / 2, 1e-12);
    EXPECT_NEAR(sheet.anchors[0].x(), 6.0, 1e-12);
    EXPECT_NEAR(sheet.anchors[0].z(), 15.0 - 2.5, 1e-12);
}

TEST(CrossSectionTest, ShortSectionHasOneStationLabelAndNoVerticalGridLine)
{
    BoxFont font;
    const PT p0(0.0, 0.0, 1.0), p1(0.0, 4.0, 2.0);
    const SectionSheet sheet = CrossSection::BuildSheet(EndsAndHit(p0, p1, 1.5), p0, p1, SectionSpace(), &font);
    EXPECT_EQ(font.texts, (std::vector<std::string>{"0.0"}));
    for (const LN& s : sheet.segments) {
        const bool vertical = s.Pt1.x() == s.Pt2.x() && s.Pt1.y() == s.Pt2.y();
        const bool insideFrame = s.Pt1.y() > 1e-9 && s.Pt1.y() < 4.0 - 1e-9 && s.Pt1.x() == 0.0;
        EXPECT_FALSE(vertical && insideFrame && s.Pt1.z() >= 1.0 && s.Pt2.z() <= 2.0 && s.Pt2.z() >= 1.0 &&
                     std::fabs(s.Pt2.z() - s.Pt1.z()) == 1.0)
            << "grid line at " << s.Pt1.y();
    }
}

TEST(CrossSectionTest, MissingFontLeavesOutOnlyTheLabels)
{
    BoxFont font;
    const PT p0(0.0, 0.0, 1.0), p1(12.0, 0.0, 7.0);
    const SectionSheet withFont = CrossSection::BuildSheet(EndsAndHit(p0, p1, 3.0), p0, p1, SectionSpace(), &font);
    const SectionSheet without = CrossSection::BuildSheet(EndsAndHit(p0, p1, 3.0), p0, p1, SectionSpace(), nullptr);
    EXPECT_GT(withFont.labels, 0);
    EXPECT_EQ(without.labels, 0);
    std::size_t strokes = 0;
    for (const std::string& t : font.texts)
        strokes += t.size();
    EXPECT_EQ(withFont.segments.size(), without.segments.size() + strokes);
    ExpectFinite(without);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(without.anchors[i].z(), withFont.anchors[i].z(), 1e-12);
}

TEST(CrossSectionTest, SectionCoordinatesFollowTheUserMatrix)
{
    // The user matrix turns a quarter and moves; the sheet comes back to model
    // coordinates (user minus centre) wherever it was built.
    MTRX user;
    user.Turn(_f_pi / 2.0);
    user.Move(100.0, 50.0);
    const SectionSpace space(user, MTRX(), PT(100.0, 50.0, 0.0));
    CModelDataMng store;
    store.SetRenderingCenterPt(PT(100.0, 50.0, 0.0));
    const PT model0(0.0, 0.0, 3.0), model1(0.0, 10.0, 5.0);
    const auto sheet = CrossSection::Build(store, space, model0, model1, {}, nullptr);
    ASSERT_TRUE(sheet);
    EXPECT_NEAR(sheet->length, 10.0, 1e-9);
    EXPECT_NEAR(sheet->profile.front().x(), 0.0, 1e-9);
    EXPECT_NEAR(sheet->profile.front().y(), 0.0, 1e-9);
    EXPECT_NEAR(sheet->profile.back().y(), 10.0, 1e-9);
    EXPECT_NEAR(sheet->anchors[0].y(), 5.0, 1e-9);
}

TEST(CrossSectionTest, LabelTextIsCLocaleOneDecimal)
{
    EXPECT_EQ(CrossSection::LabelText(15.0), "15.0");
    EXPECT_EQ(CrossSection::LabelText(-5.0), "-5.0");
    EXPECT_EQ(CrossSection::LabelText(1234567.0), "1234567.0");
}

}  // namespace

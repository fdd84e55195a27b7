// Every byte of the point buffers, in every colour mode, against the colours
// worked out point by point the plain way: gradation lookup, shade, floor,
// brightness, and the byte a RGBA8 layer stores.
#include "SceneFixture.h"

#include "viewer/buffers/GlBufferOps.h"
#include "viewer/buffers/GradationLookup.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/PointCloudPass.h"
#include "viewer/render/SceneExtents.h"

#include "outside/GeoFunc.h"
#include "outside/StoreMarkers.h"

#include <algorithm>
#include <cstring>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <string>

namespace {

struct Expected {
    std::vector<float> positions;  // per point, x y z
    std::vector<std::uint32_t> colours;
    std::vector<std::uint32_t> picks;
};

float Channel(COLORREF c, int shift) { return static_cast<float>((c >> shift) & 0xFF) * 0.004f; }

// The colour of one point as the viewer defines it.
struct Reference {
    int mode = 1;
    bool viewCloud = false;
    bool shade = true;
    int bright = 0;
    COLORREF mono = 0xFFFFFF;
    COLORREF group = 0;
    const std::vector<ColorConf>* stops = nullptr;
    bool heightKnown = false;
    double zmin = 0, zmax = 0;
    bool intensityKnown = false;
    double imin = 0, imax = 0;

    float Bright(float v) const { return bright != 0 ? ApplyBrightness(bright, v) : v; }

    std::uint32_t Colour(const CPCloudMng::CloudPoint& pt) const
    {
        const COLORREF colour = pt.colour == 0 ? 0xFFFFFFu : pt.colour;
        const float k = Channel(colour, 0);
        const float m = shade && !viewCloud ? (k - 0.5f) * 0.9f : 0.0f;
        const float o = shade ? k * 0.7f : 0.0f;
        float rgb[3];
        if (mode == 1 || mode == 4) {
            const bool flat = heightKnown && _f_iszero(zmax - zmin);
            float r = 0, g = 0, b = 0;
            if (mode == 4) {
                if (intensityKnown) {
                    const double i = std::clamp(pt.intensity, imin, imax);
                    const double t = imin == imax ? 127.0 : (i - imin) * 255.0 / std::abs(imax - imin);
                    LookupGradationColor(static_cast<float>(t), r, g, b, stops);
                }
            } else if (heightKnown && !flat) {
                const double t = (static_cast<double>(pt.z) - zmin) * (255.0 / (zmax - zmin));
                if (t >= 0.0 && t <= 255.0) LookupGradationColor(static_cast<float>(t), r, g, b, stops);
            }
            if (mode == 1 && flat) {
                rgb[0] = Bright(0.7f);
                rgb[1] = Bright(0.0f);
                rgb[2] = Bright(0.0f);
            } else {
                rgb[0] = Bright(std::max(r - o, 0.05f));
                rgb[1] = Bright(std::max(g - o, 0.05f));
                rgb[2] = Bright(std::max(b - o, 0.05f));
            }
        } else if (viewCloud) {
            for (int ch = 0; ch < 3; ++ch) rgb[ch] = Channel(colour, ch * 8);
        } else {
            const COLORREF base = mode == 3 ? mono : (mode == 5 ? group : colour);
            const float add = mode == 3 || mode == 5 ? m : 0.0f;
            for (int ch = 0; ch < 3; ++ch) rgb[ch] = Bright(Channel(base, ch * 8) + add);
        }
        return GlBufferOps::PackRgba(rgb[0], rgb[1], rgb[2]);
    }
};

class PointColourBytesTest : public SceneTest {
protected:
    //! Points over a slope with every kind of colour word, a few deleted (z NaN).
    CPCloudMng& AddCloud(CPCloudMng& cloud, int n, bool flat, std::uint32_t seed)
    {
        std::mt19937 random(seed);
        std::uniform_real_distribution<float> xy(0.0f, 64.0f), z(-3.0f, 17.0f), intensity(-5.0f, 3000.0f);
        for (int i = 0; i < n; ++i) {
            const COLORREF colour = i % 7 == 0 ? 0u : static_cast<COLORREF>(random() & 0xFFFFFF);
            const double value = i % 11 == 0 ? 12.0 : static_cast<double>(intensity(random));
            cloud.AddCloudPoint(xy(random), xy(random), flat ? 4.25f : z(random), colour, value);
        }
        cloud.m_nDataFlag = 1;
        cloud.m_nColor = 0x3377BB;
        return cloud;
    }

    CPCloudMng& NewGroup()
    {
        auto group = std::make_unique<CPCloudMng>();
        CPCloudMng& ref = *group;
        m_store->AddGroup(std::move(group));
        return ref;
    }

    Reference Prepare(bool viewCloud)
    {
        Reference ref;
        ref.mode = m_settings.colourMode;
        ref.viewCloud = viewCloud;
        ref.shade = m_settings.correctionHint == 0;
        ref.bright = m_settings.brightPercent;
        ref.mono = m_settings.pointColour;
        ref.stops = m_settings.gradation;
        const SceneExtents::Toggles toggles{m_settings.colourMode, m_settings.tinPictureMode,
                                            m_settings.tinEdgeSwitch, m_settings.tinVertexSwitch};
        PT lo(kUnsetDouble, kUnsetDouble, kUnsetDouble), hi(kUnsetDouble, kUnsetDouble, kUnsetDouble);
        const int kinds = m_settings.colourMode == 1 ? SceneExtents::kCloudGroups : 0;
        if (kinds != 0 && SceneExtents::GetVisibleExtent(*m_store, toggles, kinds, 0, lo, hi) != 0 &&
            !IsUnsetValue(lo.z()) && !IsUnsetValue(hi.z())) {
            ref.heightKnown = true;
            ref.zmin = lo.z();
            ref.zmax = hi.z();
        }
        if (ref.mode == 4) ref.intensityKnown = SceneExtents::GetVisibleIntensityRange(*m_store, ref.imin, ref.imax) != 0;
        return ref;
    }

    Expected Expect(const CPCloudMng& cloud, const Reference& ref)
    {
        Expected e;
        const std::size_t n = cloud.m_points.size();
        e.positions.resize(n * 3);
        e.colours.resize(n);
        e.picks.resize(n);
        for (std::size_t p = 0; p < n; ++p) {
            const CPCloudMng::CloudPoint& pt = cloud.m_points[p];
            PT model(pt.x, pt.y, pt.z);
            m_store->UserToModel(model);
            e.positions[p * 3] = static_cast<float>(model.x());
            e.positions[p * 3 + 1] = static_cast<float>(model.y());
            e.positions[p * 3 + 2] = static_cast<float>(model.z());
            e.colours[p] = ref.Colour(pt);
            e.picks[p] = GlBufferOps::PickColour(p);
        }
        return e;
    }

    //! Points whose buffers differ from the expectation (positions bit for bit).
    int Mismatches(const GroupGpuData& data, const Expected& e, bool withColours, std::string& first)
    {
        int wrong = 0;
        const std::size_t n = e.picks.size();
        for (int c = 0; c < GroupGpuData::kChunkCount; ++c) {
            const auto count = static_cast<std::size_t>(data.pointCounts[c]);
            const std::size_t want = n > static_cast<std::size_t>(c) ? (n - 1 - c) / 100 + 1 : 0;
            if (count != want) {
                ++wrong;
                continue;
            }
            if (count == 0) continue;
            const ChunkBuffers chunk = ReadChunk(data, c, count, withColours);
            const auto& positions = chunk.positions;
            const auto& picks = chunk.picks;
            const auto& colours = chunk.colours;
            for (std::size_t k = 0; k < count; ++k) {
                const std::size_t p = k * 100 + static_cast<std::size_t>(c);
                bool ok = picks[k] == e.picks[p] && (!withColours || colours[k] == e.colours[p]);
                for (int a = 0; a < 3; ++a)
                    ok = ok && std::memcmp(&positions[k * 3 + a], &e.positions[p * 3 + a], sizeof(float)) == 0;
                if (!ok && wrong++ == 0) {
                    std::ostringstream text;
                    text << "point " << p << std::hex << " colour " << (withColours ? colours[k] : 0) << " want "
                         << e.colours[p] << " pick " << picks[k] << " want " << e.picks[p];
                    first = text.str();
                }
            }
        }
        G().glBindBuffer(GL_ARRAY_BUFFER, 0);
        return wrong;
    }

    void RebuildGroups()
    {
        for (auto& g : m_store->m_groups)
            if (g)
                if (GroupGpuData* d = GroupGpuData::Find(*g)) d->rebuildRequested = 1;
        PointCloudPass::ReleaseGroupCloudPointBuffers(Ctx());
        PointCloudPass::BuildGroupCloudPoints(Ctx());
    }

    void RebuildViewCloud()
    {
        if (GroupGpuData* d = GroupGpuData::Find(m_store->m_viewCloud)) d->rebuildRequested = 1;
        PointCloudPass::ReleaseViewCloudPointBuffers(Ctx());
        PointCloudPass::BuildViewCloudPoints(Ctx());
    }

    std::string Describe() const
    {
        std::ostringstream text;
        text << "mode " << m_settings.colourMode << " hint " << m_settings.correctionHint << " bright "
             << m_settings.brightPercent << " stops " << (m_settings.gradation ? m_settings.gradation->size() : 0);
        return text.str();
    }

    const std::vector<std::vector<ColorConf>> m_lists = {
        {{255, 0x0000FF}, {0, 0xFF0000}},
        {{255, 0x0000FF}, {200, 0x12ABCD}, {199, 0x00FFFF}, {17, 0x808080}, {1, 0x010203}, {0, 0xFF0000}},
        {{0, 0xFF0000}, {128, 0x00FF00}, {255, 0x0000FF}},  // out of order
        {}};
};

}  // namespace

TEST_F(PointColourBytesTest, GroupBuffersInEveryModeMatchThePlainColours)
{
    m_store->SetRenderingCenterPt(PT(-1000.0, 2000.0, 7.0));
    CPCloudMng& cloud = NewGroup();
    AddCloud(cloud, 3517, false, 11);
    cloud.SetCloudPointNaN(5);
    cloud.SetCloudPointNaN(1234);
    m_settings.tinPictureMode = 0;
    m_settings.pointColour = 0x20C0F0;
    for (int mode : {0, 1, 2, 3, 4, 5})
        for (std::uint16_t hint : {std::uint16_t{0}, std::uint16_t{3}})
            for (int bright : {0, 35, -60})
                for (const auto& stops : m_lists) {
                    if (mode != 1 && mode != 4 && &stops != &m_lists.front()) continue;
                    m_settings.colourMode = mode;
                    m_settings.correctionHint = hint;
                    m_settings.brightPercent = bright;
                    m_settings.gradation = &stops;
                    RebuildGroups();
                    Reference ref = Prepare(false);
                    ref.group = cloud.m_nColor;
                    std::string first;
                    EXPECT_EQ(Mismatches(*GroupGpuData::Find(cloud), Expect(cloud, ref), true, first), 0)
                        << Describe() << ": " << first;
                }
}

TEST_F(PointColourBytesTest, FlatOrUnknownRangesAndNoStops)
{
    CPCloudMng& cloud = NewGroup();
    AddCloud(cloud, 1201, true, 5);
    m_settings.tinPictureMode = 0;
    for (int mode : {1, 4})
        for (int bright : {0, 20}) {
            m_settings.colourMode = mode;
            m_settings.brightPercent = bright;
            m_settings.gradation = &m_lists[0];
            RebuildGroups();
            Reference ref = Prepare(false);
            std::string first;
            EXPECT_EQ(Mismatches(*GroupGpuData::Find(cloud), Expect(cloud, ref), true, first), 0)
                << Describe() << ": " << first;
            // No stops at all, and a gradation list missing.
            m_settings.gradation = nullptr;
            RebuildGroups();
            ref = Prepare(false);
            EXPECT_EQ(Mismatches(*GroupGpuData::Find(cloud), Expect(cloud, ref), true, first), 0)
                << Describe() << ": " << first;
        }
    // Every intensity the same: the middle level.
    CPCloudMng& same = NewGroup();
    for (int i = 0; i < 300; ++i) same.AddCloudPoint(static_cast<float>(i % 60), 3.0f, 1.0f, 0x102030u * (i % 5), 8.0);
    same.m_nDataFlag = 1;
    cloud.m_nDataFlag = 0;
    m_settings.colourMode = 4;
    m_settings.gradation = &m_lists[1];
    RebuildGroups();
    const Reference ref = Prepare(false);
    std::string first;
    EXPECT_EQ(Mismatches(*GroupGpuData::Find(same), Expect(same, ref), true, first), 0) << first;
}

TEST_F(PointColourBytesTest, ViewCloudColoursAndNoColourBufferModes)
{
    CPCloudMng& cloud = AddCloud(m_store->m_viewCloud, 2203, false, 3);
    m_settings.tinPictureMode = 0;
    for (int mode : {1, 2, 3, 4, 5})
        for (std::uint16_t hint : {std::uint16_t{0}, std::uint16_t{1}}) {
            m_settings.colourMode = mode;
            m_settings.correctionHint = hint;
            m_settings.brightPercent = 15;
            m_settings.gradation = &m_lists[1];
            RebuildViewCloud();
            const Reference ref = Prepare(true);
            const bool withColours = mode != 3 && mode != 5;
            const GroupGpuData& data = *GroupGpuData::Find(cloud);
            EXPECT_EQ(data.colourBuffers[0] != 0, withColours) << Describe();
            std::string first;
            EXPECT_EQ(Mismatches(data, Expect(cloud, ref), withColours, first), 0) << Describe() << ": " << first;
        }
}

TEST_F(PointColourBytesTest, LargeCloudSharedOutAmongThreads)
{
    m_store->SetRenderingCenterPt(PT(10.0, -20.0, 0.0));
    CPCloudMng& cloud = NewGroup();
    cloud.ReserveCloudPoint(1'000'123);
    AddCloud(cloud, 1'000'123, false, 17);
    m_settings.tinPictureMode = 0;
    for (int mode : {1, 4}) {
        m_settings.colourMode = mode;
        m_settings.gradation = &m_lists[1];
        RebuildGroups();
        const Reference ref = Prepare(false);
        std::string first;
        EXPECT_EQ(Mismatches(*GroupGpuData::Find(cloud), Expect(cloud, ref), true, first), 0)
            << Describe() << ": " << first;
    }
}

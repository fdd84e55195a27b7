#include "viewer/buffers/FaceColours.h"

#include "viewer/buffers/GradationLookup.h"
#include "viewer/render/SceneExtents.h"
#include "viewer/render/SlopeClasses.h"

#include "outside/CModelDataMng.h"
#include "outside/GeoFunc.h"
#include "outside/StoreMarkers.h"

#include <algorithm>
#include <cmath>

namespace facecolours {

namespace {

constexpr std::uint8_t kNoStopsGrey = 128;
constexpr float kFlatLevel = 127.0f;

}  // namespace

void ModelOf(const CModelDataMng& store, const PT& user, float* out)
{
    PT p = user;
    store.UserToModel(p);
    out[0] = static_cast<float>(p.x());
    out[1] = static_cast<float>(p.y());
    out[2] = static_cast<float>(p.z());
}

Corners ReadCorners(const CModelDataMng& store, const CVertexMng& tin, const CIndexedTriangle& tri)
{
    Corners c;
    bool ok[3];
    for (int k = 0; k < 3; ++k) {
        float x = 0, y = 0, z = 0;
        ok[k] = tin.GetVertexVal(tri[k], x, y, z) != 0;
        c.user[k] = PT(x, y, z);
    }
    if (!(ok[0] && ok[1] && ok[2])) {
        const int good = ok[0] ? 0 : (ok[1] ? 1 : (ok[2] ? 2 : -1));
        const PT at = good >= 0 ? c.user[good] : PT(0, 0, 0);
        for (PT& u : c.user) u = at;
    }
    for (int k = 0; k < 3; ++k) ModelOf(store, c.user[k], c.model[k]);
    return c;
}

void AppendNormal(std::vector<float>& normals, const float p[3][3])
{
    float n[9];
    WriteNormal(n, p);
    normals.insert(normals.end(), n, n + 9);
}

std::uint8_t RoundByte(float c) { return static_cast<std::uint8_t>(std::clamp(_f_round(static_cast<double>(c) * 255.0), 0, 255)); }

std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return std::uint32_t{r} | std::uint32_t{g} << 8 | std::uint32_t{b} << 16 | 0xFF000000u;
}

HeightScale TinHeightScale(RenderContext& ctx, int tinKinds)
{
    HeightScale scale;
    const RenderSettings& s = ctx.settings;
    int kinds = tinKinds;
    if (s.colourMode == 1) kinds |= SceneExtents::kCloudGroups;
    const SceneExtents::Toggles toggles{s.colourMode, s.tinPictureMode, s.tinEdgeSwitch, s.tinVertexSwitch};
    PT lo(kUnsetDouble, kUnsetDouble, kUnsetDouble);
    PT hi(kUnsetDouble, kUnsetDouble, kUnsetDouble);
    if (SceneExtents::GetVisibleExtent(ctx.store, toggles, kinds, 0, lo, hi) != 0 && !IsUnsetValue(lo.z()) &&
        !IsUnsetValue(hi.z())) {
        scale.known = true;
        scale.zmin = lo.z();
        scale.zmax = hi.z();
    }
    return scale;
}

std::uint32_t HeightColour(const HeightScale& scale, const std::vector<ColorConf>* stops, double h)
{
    if (stops == nullptr || stops->empty()) return Rgb(kNoStopsGrey, kNoStopsGrey, kNoStopsGrey);
    float r = 0, g = 0, b = 0;
    LookupGradationColor(scale.Level(h), r, g, b, stops);
    return Rgb(RoundByte(r), RoundByte(g), RoundByte(b));
}

float HeightScale::Level(double h) const
{
    if (!known || _f_iszero(zmax - zmin)) return kFlatLevel;
    const float diff = static_cast<float>(h - zmin);
    const auto level = static_cast<float>(static_cast<double>(diff) / (zmax - zmin) * 255.0);
    if (std::isnan(level)) return kFlatLevel;
    return std::clamp(level, 0.0f, 255.0f);
}

std::uint32_t SlopeColour(const Corners& c, int pale)
{
    const float* rgba = ClassifyTriangleSlope(c.user[0], c.user[1], c.user[2], pale);
    return Rgb(RoundByte(rgba[0]), RoundByte(rgba[1]), RoundByte(rgba[2]));
}

}  // namespace facecolours

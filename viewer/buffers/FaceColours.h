#pragma once

#include "viewer/buffers/RenderContext.h"

#include "outside/CIndexedTriangle.h"
#include "outside/PT.h"

#include <cstdint>
#include <vector>

class CModelDataMng;
class CVertexMng;
struct ColorConf;

// What the face builders of TINs and structures share: the corners of a
// triangle, its normal, and its colours by slope class or height gradation.
namespace facecolours {

// The three corners of a triangle in user and model coordinates. A corner the
// store cannot give collapses the triangle onto one point, so it draws nothing
// and the numbering of the others stays.
struct Corners {
    PT user[3];
    float model[3][3];
};
//! A user point in model coordinates as three floats.
void ModelOf(const CModelDataMng& store, const PT& user, float* out);
Corners ReadCorners(const CModelDataMng& store, const CVertexMng& tin, const CIndexedTriangle& tri);
//! (p1 - p0) x (p2 - p1) in float, not normalised, once per corner.
void AppendNormal(std::vector<float>& normals, const float p[3][3]);
//! The same normal written three times from out on (nine floats).
inline void WriteNormal(float* out, const float p[3][3])
{
    const float* p0 = p[0];
    const float* p1 = p[1];
    const float* p2 = p[2];
    const float nx = (p1[1] - p0[1]) * (p2[2] - p1[2]) - (p1[2] - p0[2]) * (p2[1] - p1[1]);
    const float ny = (p1[2] - p0[2]) * (p2[0] - p1[0]) - (p1[0] - p0[0]) * (p2[2] - p1[2]);
    const float nz = (p1[0] - p0[0]) * (p2[1] - p1[1]) - (p1[1] - p0[1]) * (p2[0] - p1[0]);
    for (int k = 0; k < 3; ++k) {
        out[3 * k] = nx;
        out[3 * k + 1] = ny;
        out[3 * k + 2] = nz;
    }
}
std::uint8_t RoundByte(float c);
std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b);

// The height range of the gradation: shared with points coloured by height.
struct HeightScale {
    bool known = false;
    double zmin = 0.0;
    double zmax = 0.0;
    float Level(double h) const;
};
//! The range over the visible content of the kinds (SceneExtents), plus the
//! point clouds when points are coloured by height.
HeightScale TinHeightScale(RenderContext& ctx, int tinKinds);
//! Gradation colour of a height; a fixed grey without stops.
std::uint32_t HeightColour(const HeightScale& scale, const std::vector<ColorConf>* stops, double h);
//! The slope-class colour of a triangle of user points.
std::uint32_t SlopeColour(const Corners& c, int pale);

}  // namespace facecolours

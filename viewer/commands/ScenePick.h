#pragma once

// What lies under a window pixel of the main view. Each pick layer is read on
// the CPU from the matrices the frame was drawn with: the element in front under
// the pixel, among what the layer draws (shown groups, shown TINs with their
// vertices on and not hidden behind another TIN's faces, the shown part drawing
// and CAD figures), gives the layer's depth and id, as the
// colour of a pick framebuffer would. The id stands for the element numbers id,
// id + 0xFFFFFF, ... in every source; each candidate is projected back and taken
// within a pixel tolerance, and of the layers' hits the one nearest the eye in
// plan wins. Nothing is drawn, so a pick never touches the picture. The caller
// holds the view lock (or reads on the thread that holds it).

#include "outside/PT.h"
#include "viewer/render/ScreenProjector.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class CModelDataMng;

namespace scenepick {

//! Element numbers share a colour every this many.
inline constexpr std::int64_t kIdSpan = 0xFFFFFF;

//! What a hit is; the TIN kinds are also the TIN edits' codes.
enum Kind : int {
    kCloudPoint = 1,
    kCadFigure = 2,
    kPartFigure = 3,
    kGroupTinVertex = 4,
    kViewCloudTinVertex = 5,
    kCadFigureSecond = 6,
    kCadTinVertex = 7,
};

//! The id a pick pixel's colour bytes stand for.
constexpr std::uint32_t IdFromColour(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b) << 16;
}
//! The id an element number is drawn with.
constexpr std::uint32_t IdOfNumber(std::int64_t number) { return static_cast<std::uint32_t>(number % kIdSpan); }

//! Calls visit(n) for n = id, id + kIdSpan, ... while n < count; a visit answering
//! false ends the walk. Negative ids and counts visit nothing.
void WalkCandidates(std::int64_t id, std::int64_t count, const std::function<bool(std::int64_t)>& visit);

//! The layers that take part in a pick.
struct Layers {
    bool points = true;       // group cloud points
    bool cadFirst = true;     // CAD figures, kind 2
    bool cadSecond = true;    // CAD figures, kind 6 (only while the first is clear)
    bool part = true;         // part drawing vertices and points
    bool tin = true;          // TIN vertices
    static Layers None() { return {false, false, false, false, false}; }
};

//! The settings a pick reads.
struct Options {
    Layers layers;
    int pointTolerance = 5;       // pixels, kind 1
    int vertexTolerance = 10;     // pixels, kinds 3, 4, 5, 7; also the vertices' drawn size
    int pointDrawSize = 5;        // pixels, points as the point layer draws them
    bool tinVerticesShown = false;
    bool tinFacesShown = false;       // faces hide the vertices of other TINs behind them
    bool partSecondSetShown = true;   // off while figures without elevation are hidden
};

//! A window pixel and the frame it is read in. x right, y up.
struct Frame {
    const CModelDataMng& store;
    const ScreenProjector& projector;
    double x = 0.0;
    double y = 0.0;
    PT eye;                   // the pixel unprojected at depth 0, model coordinates
};

//! One source of candidates: its size and a reader of element i in user coordinates.
struct Source {
    std::int64_t count = 0;
    std::function<bool(std::int64_t i, PT& user)> read;
};

struct Candidate {
    std::int64_t index = 0;
    PT point;                 // model coordinates
    double distance = 0.0;    // in plan from the eye
};

//! The candidates of id within tolerance of the pixel; of those the one nearest
//! the eye in plan, the first on ties.
std::optional<Candidate> BestCandidate(const Source& source, std::int64_t id, const Frame& frame, int tolerance);

//! A pick layer as its pixel reads: the depth and id of the element in front.
struct LayerPixel {
    double depth = 1.0;
    std::uint32_t id = 0;
};

struct Hit {
    int kind = 0;
    std::vector<int> ids;
    PT point;                 // model coordinates; unset (1e-16) for CAD figures
    int elevationFlag = 1;
};

//! The pick at window point (x, yFromTop); nothing for an empty pixel, a frame
//! that cannot be unprojected or non-finite input.
std::optional<Hit> PickScene(const CModelDataMng& store, const ScreenProjector& projector, double x,
                             double yFromTop, const Options& options);

}  // namespace scenepick

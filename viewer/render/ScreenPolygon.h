#pragma once

#include <QPoint>

#include <array>
#include <cstdint>
#include <vector>

#include "viewer/render/ScreenProjector.h"

// A selection polygon in window coordinates (x right, y up, whole pixels) with
// its bounding rectangle, and the tests the polygon selection makes against it.
class ScreenPolygon {
public:
    struct Vertex {
        std::int64_t x = 0;
        std::int64_t y = 0;
    };
    struct Rect {
        std::int64_t minX = 0, maxX = -1, minY = 0, maxY = -1;
    };

    ScreenPolygon() = default;
    //! From mouse points (y down from the window's top) of a window of that height.
    static ScreenPolygon FromMouse(const std::vector<QPoint>& mouse, int windowHeight);
    explicit ScreenPolygon(std::vector<Vertex> vertices);

    std::size_t Size() const { return m_vertices.size(); }
    const std::vector<Vertex>& Vertices() const { return m_vertices; }
    const Rect& Bounds() const { return m_bounds; }

    //! A projected coordinate as whole pixels, as the tests take it. Far-off
    //! values are clamped: they lie outside any polygon of a window either way.
    static std::int64_t WholePixel(double v);
    //! Inside the bounding rectangle, bounds included.
    bool InBounds(std::int64_t x, std::int64_t y) const
    {
        return x >= m_bounds.minX && x <= m_bounds.maxX && y >= m_bounds.minY && y <= m_bounds.maxY;
    }
    //! Even-odd rule on whole pixels: an edge counts when the point lies in its
    //! half-open x span (left end excluded) and strictly below it. Products are
    //! 64-bit, so no window size overflows them. A polygon of no vertices holds nothing.
    bool Contains(std::int64_t px, std::int64_t py) const;
    //! A projected point as the selection tests it (truncated to whole pixels).
    bool ContainsWindowPoint(double x, double y) const;
    //! True when the segment between two window points crosses an edge of the
    //! closed polygon.
    bool Crosses(double x1, double y1, double x2, double y2) const;

private:
    std::vector<Vertex> m_vertices;
    Rect m_bounds;
};

// Screen-box classes of groups and chunks: 0 test further, 1 outside (skip),
// 2 wholly inside (take everything without projecting).
namespace screenbox {
inline constexpr std::int16_t kTest = 0;
inline constexpr std::int16_t kOutside = 1;
inline constexpr std::int16_t kInside = 2;

//! The class of a box (min and max corners, user coordinates). A box with a
//! corner that does not project in front of the eye with depth strictly inside
//! 0..1 stays kTest. testInside: edit mode 1 (polygon), else only the rectangle.
std::int16_t Classify(const ScreenProjector& projector, const ScreenPolygon& polygon, const double lo[3],
                      const double hi[3], bool testInside);
}  // namespace screenbox

namespace screenbox {
//! 1 when the box's projected rectangle misses the square of half side tol
//! around the window point (x, y up), 0 when it meets it or a corner does not
//! project in front of the eye within the depth range.
std::int16_t MissesSquare(const ScreenProjector& projector, const double lo[3], const double hi[3], double x, double y,
                          double tol);
}  // namespace screenbox

#pragma once

#include <array>
#include <optional>
#include <cstdint>
#include <vector>

#include "viewer/render/ScreenProjector.h"

class CVertexMng;

// The screen-space cache the TIN tools hover with: the vertices and the unique
// edges of the shown TINs projected once per camera, sorted into a 10 x 10 grid
// of window cells. A mouse move then looks only at the cells around the pointer.
// Window coordinates here are x right, y down from the window's top, as the
// mouse reports them.
class HoverPickCache {
public:
    static constexpr int kCells = 10;
    //! Half the side of the hover square, pixels.
    static constexpr double kReach = 5.0;

    // Source kinds of the cached items.
    static constexpr std::uint8_t kKindGroup = 4;
    static constexpr std::uint8_t kKindCadTin = 7;
    static constexpr std::uint8_t kKindViewCloud = 5;

    struct Vertex {
        double x = 0.0, y = 0.0, depth = 0.0;
        std::uint8_t kind = 0;
        std::int32_t group = -1;
        std::int32_t index = 0;
        std::uint8_t hasHeight = 1;
    };
    struct Edge {
        std::int32_t v1 = 0, v2 = 0;  // v1 < v2
        std::uint8_t kind = 0;
        std::int32_t group = -1;
        std::int32_t triangle = 0;
        std::int32_t side = 0;        // 0 first-second corner, 1 second-third, 2 third-first
        double x1 = 0.0, y1 = 0.0, z1 = 0.0;
        double x2 = 0.0, y2 = 0.0, z2 = 0.0;
    };

    //! Empties the cache and lays out the cells for a window of that size.
    void Reset(int width, int height);
    //! Projects one TIN store's vertices (each once) and its unique edges.
    //! projector: window y up, as GL projects; the cache turns it down.
    void AddStore(const CVertexMng& tin, const ScreenProjector& projector,
                  std::uint8_t kind, std::int32_t group);

    //! The vertex nearest the viewer within the hover square of the pointer;
    //! the first in cell order wins a tie. Null when none.
    const Vertex* FindVertex(double px, double py) const;
    //! The edge nearest the viewer whose foot point from the pointer lies on it
    //! within the reach; none when there is none.
    std::optional<Edge> FindEdge(double px, double py) const;

    std::size_t VertexCount() const { return m_vertexCount; }
    std::size_t EdgeCount() const { return m_edges.size(); }
    bool Empty() const { return m_vertexCount == 0 && m_edges.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    // A cached edge: its ends as positions in m_vertices, and where it came from.
    struct EdgeRef {
        std::uint32_t end1, end2;
        std::int32_t triangle;
        std::int32_t side;
    };
    struct Cell {
        std::vector<std::uint32_t> vertices;  // into m_vertices
        std::vector<std::uint32_t> edges;     // into m_edges, in collection order
    };
    int CellColumn(double x) const;
    int CellRow(double y) const;
    Edge MakeEdge(const EdgeRef& e) const;

    int m_width = 0;
    int m_height = 0;
    std::array<Cell, kCells * kCells> m_cells;
    //! Every projected vertex of every store (in reach of the window or not).
    std::vector<Vertex> m_vertices;
    std::vector<EdgeRef> m_edges;
    std::size_t m_vertexCount = 0;
    // One store's vertices projected, by vertex number: the window point, the
    // cells it and its hover square reach, and where it went in m_vertices.
    struct Projected {
        double x, y, depth;
        std::int32_t slot;
        std::int8_t col, row;            // its own cell; -1 outside the window
        std::int8_t loCol, hiCol;        // cells of x - kReach and x + kReach
        std::int8_t loRow, hiRow;        // cells of y - kReach and y + kReach
        std::uint8_t visible, hasHeight;
    };
    std::vector<Projected> m_scratchProjected;
    std::vector<std::uint32_t> m_scratchStart, m_scratchTaken, m_scratchFill;
};

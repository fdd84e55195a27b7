#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "viewer/render/ScreenProjector.h"

class CVertexMng;

// The screen-space cache the TIN tools hover with: the vertices and the unique
// edges of the shown TINs projected once per camera, sorted into a 10 x 10 grid
// of window cells. A mouse move then looks only at the cells around the pointer.
// Window coordinates here are x right, y down from the window's top, as the
// mouse reports them.
//
// What depends on a TIN's triangles alone (the vertices they use and their unique
// edges, in the order first met) is kept between rebuilds while the store's
// TinRevision() and vertex count stay the same, so a camera change only projects
// and files.
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

    HoverPickCache();
    ~HoverPickCache();
    HoverPickCache(const HoverPickCache&) = delete;
    HoverPickCache& operator=(const HoverPickCache&) = delete;
    HoverPickCache(HoverPickCache&&) noexcept;
    HoverPickCache& operator=(HoverPickCache&&) noexcept;

    //! Empties the cache and lays out the cells for a window of that size. The
    //! triangle work of the stores added since the previous Reset is kept.
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
    std::size_t EdgeCount() const { return m_edgeCount; }
    bool Empty() const { return m_vertexCount == 0 && m_edgeCount == 0; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    //! How often a store's vertex order and unique edges were worked out from its
    //! triangles (rather than kept from an earlier rebuild).
    std::size_t TopologyBuilds() const { return m_topologyBuilds; }

private:
    struct Topology;
    struct Spot;
    struct Layer;

    // One window axis cut into kCells cells: the cell of v is what the truncated
    // v * kCells / size gives (clamped; -1 beyond the reach of either end), worked
    // out with a multiplication and a comparison or two against where each cell
    // starts, so that every coordinate lands where that quotient puts it.
    struct Axis {
        int size = 0;
        double scale = 0.0;
        //! first[k]: the smallest v of cell k; first[kCells] is infinite.
        std::array<double, kCells + 1> first{};
        void Lay(int cells);
        int Of(double v) const
        {
            if (size <= 0 || !(v >= -kReach && v < size + kReach)) return -1;
            int c = static_cast<int>(std::clamp(v * scale, 0.0, kCells - 1.0));
            while (c > 0 && v < first[c]) --c;
            while (v >= first[c + 1]) ++c;
            return c;
        }
        //! The cells of v and of the ends of its hover square (v - kReach and
        //! v + kReach, drawn in towards the window): low is kCells and high -1 when
        //! beyond, so that the lowest and highest of two points span a segment.
        void Span(double v, int& low, int& own, int& high) const;
    };

    int CellColumn(double x) const { return m_columns.Of(x); }
    int CellRow(double y) const { return m_rows.Of(y); }
    Topology& TopologyOf(const CVertexMng& tin);
    void BuildTopology(const CVertexMng& tin, Topology& topology);
    //! Projects the vertices at places [begin, end) of the layer's order, and
    //! gives each its cells; boxes: their own cells, for the filing.
    void Project(const CVertexMng& tin, const ScreenProjector& projector, std::uint8_t kind, std::int32_t group,
                 Layer& layer, std::size_t begin, std::size_t end, std::uint16_t* boxes) const;
    Edge MakeEdge(const Layer& layer, std::uint32_t edge) const;

    int m_width = 0;
    int m_height = 0;
    Axis m_columns, m_rows;
    std::size_t m_vertexCount = 0;
    std::size_t m_edgeCount = 0;
    std::size_t m_topologyBuilds = 0;
    //! One layer per store added, in the order added: cell lists are read layer
    //! by layer. Layers past m_layerCount keep their memory for the next rebuild.
    std::vector<Layer> m_layers;
    std::size_t m_layerCount = 0;
    std::vector<std::unique_ptr<Topology>> m_topologies;
    // Scratch of the topology work, kept for its memory.
    std::vector<std::uint32_t> m_scratchPosition, m_scratchStart, m_scratchTaken, m_scratchFill;
};

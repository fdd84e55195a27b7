#pragma once

#include "viewer/buffers/GradationTable.h"

#include "outside/CPCloudMng.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The per-point work of a point-cloud build: positions, display colour and pick
// colour of points [first, last) written into the 100 interleaved chunks
// (chunk c holds points c, c + 100, ...). The store is read once, in order, a
// block of 1600 points at a time; each block is scattered into a small local
// area and leaves it as 16 whole slots per chunk.
class PointFill {
public:
    static constexpr int kChunks = 100;
    //! Slots per chunk in one block.
    static constexpr std::size_t kBlockSlots = 16;
    //! Points in one block: ranges given to Fill start on a multiple of it.
    static constexpr std::size_t kBlockPoints = kChunks * kBlockSlots;

    //! How a point's display colour is found; every kind gives the bytes the
    //! colour mode defines.
    enum class ColourKind {
        None,       // no colour buffer
        ByRed,      // a table on the red byte of the point colour (white for 0)
        ByChannel,  // a table per channel of the point colour (white for 0)
        Height,     // gradation on the height, shade by the red byte
        Intensity,  // gradation on the intensity, shade by the red byte
        Generic,    // a function per point
    };

    struct Colours {
        ColourKind kind = ColourKind::None;
        std::array<std::uint32_t, 256> byRed{};
        std::array<std::array<std::uint32_t, 256>, 3> byChannel{};  // bytes in place, alpha with red
        // Gradation kinds: table rows, the shade taken from each red byte, the
        // brightness, and the level ranges.
        const GradationTable* table = nullptr;
        std::array<float, 256> shadeByRed{};
        int brightPercent = 0;
        double zmin = 0.0;
        double heightScale = 0.0;
        double imin = 0.0;
        double imax = 0.0;
        double intensitySpan = 0.0;
        // Generic kind.
        std::uint32_t (*perPoint)(const void* context, const CPCloudMng::CloudPoint& point) = nullptr;
        const void* context = nullptr;
    };

    //! User to model coordinates: three multiply-adds per axis, or a move.
    struct Affine {
        double m[3][4] = {};
        bool translation = true;
    };

    struct Targets {
        std::array<float*, kChunks> positions{};
        std::array<std::uint32_t*, kChunks> colours{};  // null entries when the kind is None
        std::array<std::uint32_t*, kChunks> picks{};
    };

    PointFill(const CPCloudMng::CloudPoint* points, const Targets& targets, const Colours& colours,
              const Affine& affine);

    //! Fills points [first, last); first is a multiple of kBlockPoints. Ranges
    //! apart from each other may run side by side.
    void Fill(std::size_t first, std::size_t last) const;

    //! The RGBA8 word of a gradation colour (channels 0..1 before shade) as the
    //! fill makes it: shade taken away, floor 0.05, brightness, layer bytes.
    static std::uint32_t GradationWord(float r, float g, float b, float shade, int brightPercent);

private:
    template <ColourKind Kind>
    void FillAs(std::size_t first, std::size_t last) const;

    const CPCloudMng::CloudPoint* m_points;
    const Targets& m_targets;
    const Colours& m_colours;
    const Affine& m_affine;
    bool m_streaming = false;  // every target 16-byte aligned
};

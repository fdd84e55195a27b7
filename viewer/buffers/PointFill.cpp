#include "viewer/buffers/PointFill.h"

#include "viewer/buffers/GlBufferOps.h"
#include "viewer/buffers/GradationLookup.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

namespace {

using CloudPoint = CPCloudMng::CloudPoint;

constexpr float kGradationFloor = 0.05f;
// How far ahead of the point in hand the store is asked for (bytes): the
// prefetcher alone leaves the loop waiting on memory.
constexpr std::size_t kReadAhead = 2048;

// The red byte the shade reads: a point without colour counts as white.
inline std::size_t RedIndex(COLORREF colour)
{
    return colour == 0 ? 0xFFu : static_cast<std::size_t>(colour & 0xFFu);
}

#if defined(__SSE2__)

// The gradation colour of one level in the lanes of one register: the same
// single-precision steps, in the same order, as the scalar lookup, shade,
// floor, brightness and byte rounding, so every byte comes out the same.
struct LevelColour {
    explicit LevelColour(int brightPercent)
        : brighten(brightPercent != 0),
          up(static_cast<float>(brightPercent) >= 0.0f),
          bright(_mm_set1_ps(static_cast<float>(brightPercent)))
    {
    }

    std::uint32_t Word(const GradationTable::Row& row, float t, float shade) const
    {
        const float f = (t - row.upperLevel) / row.span;
        __m128 c = _mm_add_ps(_mm_load_ps(row.upper), _mm_mul_ps(_mm_load_ps(row.delta), _mm_set1_ps(f)));
        c = _mm_div_ps(c, k255);
        c = _mm_max_ps(_mm_sub_ps(c, _mm_set1_ps(shade)), floor);
        if (brighten) c = Brighten(c);
        return Pack(c);
    }

    // ApplyBrightness: x + (1 - x) / 100 * a, or x - (0 - x) / 100 * a below zero.
    __m128 Brighten(__m128 x) const
    {
        if (up) return _mm_add_ps(x, _mm_mul_ps(_mm_div_ps(_mm_sub_ps(one, x), hundred), bright));
        return _mm_sub_ps(x, _mm_mul_ps(_mm_div_ps(_mm_sub_ps(zero, x), hundred), bright));
    }

    // GlBufferOps::PackRgba on lanes 0..2.
    std::uint32_t Pack(__m128 c) const
    {
        c = _mm_min_ps(_mm_max_ps(c, zero), one);
        c = _mm_sub_ps(_mm_add_ps(_mm_mul_ps(c, k255), rounder), rounder);
        __m128i bytes = _mm_cvttps_epi32(c);
        bytes = _mm_packs_epi32(bytes, bytes);
        bytes = _mm_packus_epi16(bytes, bytes);
        return (static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes)) & 0x00FFFFFFu) | 0xFF000000u;
    }

    bool brighten;
    bool up;
    __m128 bright;
    __m128 k255 = _mm_set1_ps(255.0f);
    __m128 floor = _mm_set1_ps(kGradationFloor);
    __m128 zero = _mm_setzero_ps();
    __m128 one = _mm_set1_ps(1.0f);
    __m128 hundred = _mm_set1_ps(100.0f);
    __m128 rounder = _mm_set1_ps(12582912.0f);
};

#else

struct LevelColour {
    explicit LevelColour(int brightPercent) : brightPercent(brightPercent) {}
    std::uint32_t Word(const GradationTable::Row& row, float t, float shade) const
    {
        const float f = (t - row.upperLevel) / row.span;
        return PointFill::GradationWord((row.upper[0] + row.delta[0] * f) / 255.0f,
                                        (row.upper[1] + row.delta[1] * f) / 255.0f,
                                        (row.upper[2] + row.delta[2] * f) / 255.0f, shade, brightPercent);
    }
    int brightPercent;
};

#endif

}  // namespace

PointFill::PointFill(const CloudPoint* points, const Targets& targets, const Colours& colours, const Affine& affine)
    : m_points(points), m_targets(targets), m_colours(colours), m_affine(affine)
{
#if defined(__SSE2__)
    m_streaming = true;
    const auto aligned = [](const void* p) { return (reinterpret_cast<std::uintptr_t>(p) & 15u) == 0; };
    for (int c = 0; c < kChunks; ++c)
        m_streaming = m_streaming && aligned(targets.positions[c]) && aligned(targets.picks[c]) &&
                      aligned(targets.colours[c]);
#endif
}

std::uint32_t PointFill::GradationWord(float r, float g, float b, float shade, int brightPercent)
{
    float rgb[3] = {std::max(r - shade, kGradationFloor), std::max(g - shade, kGradationFloor),
                    std::max(b - shade, kGradationFloor)};
    if (brightPercent != 0)
        for (float& v : rgb) v = ApplyBrightness(brightPercent, v);
    return GlBufferOps::PackRgba(rgb[0], rgb[1], rgb[2]);
}

void PointFill::Fill(std::size_t first, std::size_t last) const
{
    switch (m_colours.kind) {
    case ColourKind::None: FillAs<ColourKind::None>(first, last); break;
    case ColourKind::ByRed: FillAs<ColourKind::ByRed>(first, last); break;
    case ColourKind::ByChannel: FillAs<ColourKind::ByChannel>(first, last); break;
    case ColourKind::Height: FillAs<ColourKind::Height>(first, last); break;
    case ColourKind::Intensity: FillAs<ColourKind::Intensity>(first, last); break;
    case ColourKind::Generic: FillAs<ColourKind::Generic>(first, last); break;
    }
}

template <PointFill::ColourKind Kind>
void PointFill::FillAs(std::size_t first, std::size_t last) const
{
    // One block in chunk order: 16 filled of each chunk, 32 KB in all.
    alignas(64) float positions[kChunks][kBlockSlots * 3];
    alignas(64) std::uint32_t colours[kChunks][kBlockSlots];
    alignas(64) std::uint32_t picks[kChunks][kBlockSlots];

    const Colours& col = m_colours;
    const LevelColour gradation(col.brightPercent);
    const GradationTable::Row* rows = col.table != nullptr ? col.table->Rows() : nullptr;
    const auto& m = m_affine.m;
    const bool translation = m_affine.translation;

    for (std::size_t block = first; block < last; block += kBlockPoints) {
        const std::size_t count = std::min(kBlockPoints, last - block);
        const CloudPoint* in = m_points + block;
        auto pickNumber = static_cast<std::uint32_t>(block % 0xFFFFFFu);  // the point number modulo 0xFFFFFF
        for (std::size_t j = 0, i = 0; i < count; ++j) {
            const std::size_t chunksInRow = std::min<std::size_t>(kChunks, count - i);
            for (std::size_t c = 0; c < chunksInRow; ++c, ++i) {
                const CloudPoint& pt = in[i];
#if defined(__SSE2__)
                _mm_prefetch(reinterpret_cast<const char*>(in + i) + kReadAhead, _MM_HINT_T0);
#endif
                float* p = &positions[c][j * 3];
                if (translation) {
                    p[0] = static_cast<float>(static_cast<double>(pt.x) + m[0][3]);
                    p[1] = static_cast<float>(static_cast<double>(pt.y) + m[1][3]);
                    p[2] = static_cast<float>(static_cast<double>(pt.z) + m[2][3]);
                } else {
                    const double x = pt.x, y = pt.y, z = pt.z;
                    for (int r = 0; r < 3; ++r)
                        p[r] = static_cast<float>(m[r][0] * x + m[r][1] * y + m[r][2] * z + m[r][3]);
                }
                picks[c][j] = pickNumber | 0xFF000000u;
                pickNumber = pickNumber + 1 == 0xFFFFFFu ? 0u : pickNumber + 1;

                if constexpr (Kind == ColourKind::ByRed) {
                    colours[c][j] = col.byRed[RedIndex(pt.colour)];
                } else if constexpr (Kind == ColourKind::ByChannel) {
                    const COLORREF w = pt.colour == 0 ? 0xFFFFFFu : pt.colour;
                    colours[c][j] = col.byChannel[0][w & 0xFFu] | col.byChannel[1][(w >> 8) & 0xFFu] |
                                    col.byChannel[2][(w >> 16) & 0xFFu];
                } else if constexpr (Kind == ColourKind::Height) {
                    const double t = (static_cast<double>(pt.z) - col.zmin) * col.heightScale;
                    const bool inside = t >= 0.0 && t <= 255.0;  // false for NaN
                    const float level = inside ? static_cast<float>(t) : 0.0f;
                    const int row = inside ? static_cast<int>(level) : GradationTable::kBlackRow;
                    colours[c][j] = gradation.Word(rows[row], level, col.shadeByRed[RedIndex(pt.colour)]);
                } else if constexpr (Kind == ColourKind::Intensity) {
                    double v = pt.intensity;
                    if (v > col.imax) v = col.imax;
                    else if (v < col.imin) v = col.imin;
                    const double t = col.imin == col.imax ? 127.0 : (v - col.imin) * 255.0 / col.intensitySpan;
                    float level = static_cast<float>(t);
                    const bool number = level == level;
                    level = !number || level < 0.0f ? 0.0f : (level > 255.0f ? 255.0f : level);
                    const int row = number ? static_cast<int>(level) : GradationTable::kBlackRow;
                    colours[c][j] = gradation.Word(rows[row], level, col.shadeByRed[RedIndex(pt.colour)]);
                } else if constexpr (Kind == ColourKind::Generic) {
                    colours[c][j] = col.perPoint(col.context, pt);
                }
            }
        }

        // Each chunk's filled of this block go out in one piece: 192 bytes of
        // positions and 64 of each colour, whole lines of the target.
        const std::size_t slot = block / kChunks;
        for (std::size_t c = 0; c < static_cast<std::size_t>(kChunks); ++c) {
            const std::size_t filled = count > c ? (count - 1 - c) / kChunks + 1 : 0;
            if (filled == 0) continue;
            float* toPositions = m_targets.positions[c] + slot * 3;
            std::uint32_t* toPicks = m_targets.picks[c] + slot;
            std::uint32_t* toColours = Kind != ColourKind::None ? m_targets.colours[c] + slot : nullptr;
#if defined(__SSE2__)
            if (filled == kBlockSlots && m_streaming) {
                // Streaming stores: the target lines are not read first nor kept.
                for (std::size_t q = 0; q < kBlockSlots * 3; q += 4)
                    _mm_stream_ps(toPositions + q, _mm_load_ps(&positions[c][q]));
                for (std::size_t q = 0; q < kBlockSlots; q += 4) {
                    _mm_stream_si128(reinterpret_cast<__m128i*>(toPicks + q),
                                     _mm_load_si128(reinterpret_cast<const __m128i*>(&picks[c][q])));
                    if constexpr (Kind != ColourKind::None)
                        _mm_stream_si128(reinterpret_cast<__m128i*>(toColours + q),
                                         _mm_load_si128(reinterpret_cast<const __m128i*>(&colours[c][q])));
                }
                continue;
            }
#endif
            std::memcpy(toPositions, positions[c], filled * 3 * sizeof(float));
            std::memcpy(toPicks, picks[c], filled * sizeof(std::uint32_t));
            if constexpr (Kind != ColourKind::None) std::memcpy(toColours, colours[c], filled * sizeof(std::uint32_t));
        }
    }
#if defined(__SSE2__)
    // Streaming stores are weakly ordered: finish them before the caller
    // hands the buffers back to GL.
    _mm_sfence();
#endif
}

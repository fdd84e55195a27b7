#pragma once

#include "viewer/buffers/ModelAffine.h"

#include "platform/Parallel.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <emmintrin.h>
#include <xmmintrin.h>

// What the structure and part builders share: workers over contiguous runs of
// items, each writing a block of items at a time into a small staging area that
// then leaves for the buffer past the caches (a build writes far more than the
// caches hold and never reads it back, so no line of the buffer is read in
// before it is written), and user points turned into model floats.
namespace stagedfill {

//! Copies bytes from src to dst; the 16-byte aligned part of dst is written
//! with non-temporal stores, ordered by the Fence that ends each worker of
//! InParts.
inline void Copy(void* dst, const void* src, std::size_t bytes)
{
    auto* d = static_cast<unsigned char*>(dst);
    const auto* s = static_cast<const unsigned char*>(src);
    const std::size_t head = std::min<std::size_t>(bytes, (16 - reinterpret_cast<std::uintptr_t>(d) % 16) % 16);
    std::memcpy(d, s, head);
    d += head;
    s += head;
    bytes -= head;
    for (; bytes >= 16; bytes -= 16, d += 16, s += 16)
        _mm_stream_si128(reinterpret_cast<__m128i*>(d), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s)));
    std::memcpy(d, s, bytes);
}

//! Writers a build takes at most: the work is mostly stores, and four writers
//! keep the memory busy; more only contend for it and for the processors.
inline constexpr std::size_t kMaxWriters = 4;

//! Runs fill(begin, end) over [0, n) by workers, one per minPerWorker items up
//! to the worker count and kMaxWriters. Each worker takes the next run of `run` items (a
//! multiple of block) until none is left: a worker slowed down by a busy
//! machine holds up the others by one run at most. Every worker's stores are
//! fenced before it ends; all are joined before the call returns.
template <class Fill>
void InParts(std::size_t n, std::size_t block, std::size_t minPerWorker, Fill&& fill)
{
    if (n == 0) return;
    const std::size_t workers = std::clamp<std::size_t>(
        std::min(tessara::WorkerCount(), n / std::max<std::size_t>(minPerWorker, 1)), 1, kMaxWriters);
    // Several runs a worker, none under a few blocks.
    const std::size_t run = std::max<std::size_t>((n / (4 * workers) + block - 1) / block, 16) * block;
    std::atomic<std::size_t> next{0};
    tessara::RunParts(workers, [&](std::size_t) {
        for (std::size_t begin = next.fetch_add(run); begin < n; begin = next.fetch_add(run))
            fill(begin, std::min(n, begin + run));
        _mm_sfence();
    });
}

//! Items a block stages, and the widest row it takes (floats).
inline constexpr std::size_t kBlockItems = 64;
inline constexpr std::size_t kMaxRowWidth = 12;

//! Rows of the items [begin, end) for N buffers of 4-byte elements, a block at
//! a time through a staging area: item j's row of widths[i] elements lands at
//! out[i] + (first + j) * widths[i]. put(j, rows) writes item j's rows.
template <std::size_t N, class Put>
void FillRows(std::size_t begin, std::size_t end, std::size_t first, const std::array<float*, N>& out,
              const std::array<std::size_t, N>& widths, const Put& put)
{
    alignas(64) float stage[N][kBlockItems * kMaxRowWidth];
    std::array<float*, N> rows{};
    for (std::size_t b = begin; b < end; b += kBlockItems) {
        const std::size_t count = std::min(kBlockItems, end - b);
        for (std::size_t j = 0; j < count; ++j) {
            for (std::size_t i = 0; i < N; ++i) rows[i] = stage[i] + j * widths[i];
            put(b + j, rows);
        }
        for (std::size_t i = 0; i < N; ++i)
            Copy(out[i] + (first + b) * widths[i], stage[i], count * widths[i] * sizeof(float));
    }
}

//! FillRows over [0, n) by workers over contiguous runs of whole blocks.
template <std::size_t N, class Put>
void WriteRows(std::size_t n, std::size_t minPerWorker, std::size_t first, const std::array<float*, N>& out,
               const std::array<std::size_t, N>& widths, const Put& put)
{
    InParts(n, kBlockItems, minPerWorker,
            [&](std::size_t begin, std::size_t end) { FillRows<N>(begin, end, first, out, widths, put); });
}

// User points to model floats as ModelOf makes them (the store's map in double,
// then rounded to float). A map that only moves points is read once and
// applied inline; any other goes through the store for every point.
class ModelPoints {
public:
    explicit ModelPoints(const CModelDataMng& store) : m_store(store)
    {
        const ModelAffine affine = ModelAffine::Of(store);
        m_translation = affine.IsTranslation();
        for (int r = 0; r < 3; ++r) m_offset[r] = affine.m[r][3];
    }
    void Write(double x, double y, double z, float* out) const
    {
        if (m_translation) {
            out[0] = static_cast<float>(x + m_offset[0]);
            out[1] = static_cast<float>(y + m_offset[1]);
            out[2] = static_cast<float>(z + m_offset[2]);
            return;
        }
        PT p(x, y, z);
        m_store.UserToModel(p);
        out[0] = static_cast<float>(p.x());
        out[1] = static_cast<float>(p.y());
        out[2] = static_cast<float>(p.z());
    }

private:
    const CModelDataMng& m_store;
    bool m_translation = true;
    double m_offset[3] = {};
};

}  // namespace stagedfill

#include "Point10Compressor.h"

#include "ArithmeticEncoder.h"

namespace lazpack {

Point10Compressor::Point10Compressor(const Point10& first) : m_last(first) {}

SymbolModel& Point10Compressor::Lazy(std::unique_ptr<SymbolModel>& model)
{
    if (!model) model = std::make_unique<SymbolModel>(256);
    return *model;
}

void Point10Compressor::Compress(ArithmeticEncoder& enc, const Point10& item)
{
    const std::uint32_t r = item.ReturnNumber();
    const std::uint32_t n = item.NumberOfReturns();
    const std::uint32_t m = kReturnMap[n][r];
    const std::uint32_t l = kReturnLevel[n][r];

    const std::uint32_t changed = (std::uint32_t{m_last.returnByte != item.returnByte} << 5) |
                                  (std::uint32_t{m_lastIntensity[m] != item.intensity} << 4) |
                                  (std::uint32_t{m_last.classification != item.classification} << 3) |
                                  (std::uint32_t{m_last.scanAngleRank != item.scanAngleRank} << 2) |
                                  (std::uint32_t{m_last.userData != item.userData} << 1) |
                                  std::uint32_t{m_last.pointSourceId != item.pointSourceId};
    enc.EncodeSymbol(m_changedValues, changed);

    if (changed & 32) enc.EncodeSymbol(Lazy(m_returnByte[m_last.returnByte]), item.returnByte);
    if (changed & 16) {
        m_intensity.Compress(enc, m_lastIntensity[m], item.intensity, m < 3 ? m : 3);
        m_lastIntensity[m] = item.intensity;
    }
    if (changed & 8) enc.EncodeSymbol(Lazy(m_classification[m_last.classification]), item.classification);
    if (changed & 4) {
        enc.EncodeSymbol(m_scanAngleRank[item.ScanDirection()],
                         FoldByte(std::int32_t{item.scanAngleRank} - std::int32_t{m_last.scanAngleRank}));
    }
    if (changed & 2) enc.EncodeSymbol(Lazy(m_userData[m_last.userData]), item.userData);
    if (changed & 1) m_pointSourceId.Compress(enc, m_last.pointSourceId, item.pointSourceId);

    // Differences wrap modulo 2^32 like the coordinates themselves.
    const auto diff = [](std::int32_t a, std::int32_t b) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
    };
    const std::uint32_t single = n == 1 ? 1 : 0;
    const std::int32_t dx = diff(item.x, m_last.x);
    m_dx.Compress(enc, m_xDiffMedian[m].Get(), dx, single);
    m_xDiffMedian[m].Add(dx);

    std::uint32_t kBits = m_dx.K();
    const std::int32_t dy = diff(item.y, m_last.y);
    m_dy.Compress(enc, m_yDiffMedian[m].Get(), dy, single + (kBits < 20 ? (kBits & ~1u) : 20));
    m_yDiffMedian[m].Add(dy);

    kBits = (m_dx.K() + m_dy.K()) / 2;
    m_z.Compress(enc, m_lastHeight[l], item.z, single + (kBits < 18 ? (kBits & ~1u) : 18));
    m_lastHeight[l] = item.z;

    m_last = item;
}

} // namespace lazpack

#include "Rgb12Compressor.h"

#include "ArithmeticEncoder.h"

namespace lazpack {

void Rgb12Compressor::Compress(ArithmeticEncoder& enc, const Rgb12& item)
{
    const auto lo = [](std::uint16_t v) { return std::int32_t{v & 0xFF}; };
    const auto hi = [](std::uint16_t v) { return std::int32_t{v >> 8}; };
    const std::uint16_t* c = item.c;
    const std::uint16_t* p = m_last.c;
    std::uint32_t used = 0;
    for (int i = 0; i < 3; ++i) {
        used |= std::uint32_t{lo(p[i]) != lo(c[i])} << (2 * i);
        used |= std::uint32_t{hi(p[i]) != hi(c[i])} << (2 * i + 1);
    }
    // Bit 6: the channels differ, so green and blue follow; else they equal red.
    const bool grey = c[0] == c[1] && c[0] == c[2];
    if (!grey) used |= 64;
    enc.EncodeSymbol(m_byteUsed, used);

    std::int32_t diffLow = 0, diffHigh = 0;
    if (used & 1) {
        diffLow = lo(c[0]) - lo(p[0]);
        enc.EncodeSymbol(m_diff[0], FoldByte(diffLow));
    }
    if (used & 2) {
        diffHigh = hi(c[0]) - hi(p[0]);
        enc.EncodeSymbol(m_diff[1], FoldByte(diffHigh));
    }
    if (used & 64) {
        if (used & 4) enc.EncodeSymbol(m_diff[2], FoldByte(lo(c[1]) - ClampByte(diffLow + lo(p[1]))));
        if (used & 16) {
            diffLow = (diffLow + lo(c[1]) - lo(p[1])) / 2;
            enc.EncodeSymbol(m_diff[4], FoldByte(lo(c[2]) - ClampByte(diffLow + lo(p[2]))));
        }
        if (used & 8) enc.EncodeSymbol(m_diff[3], FoldByte(hi(c[1]) - ClampByte(diffHigh + hi(p[1]))));
        if (used & 32) {
            diffHigh = (diffHigh + hi(c[1]) - hi(p[1])) / 2;
            enc.EncodeSymbol(m_diff[5], FoldByte(hi(c[2]) - ClampByte(diffHigh + hi(p[2]))));
        }
    }
    m_last = item;
}

} // namespace lazpack

#include "IntegerCompressor.h"

#include "ArithmeticEncoder.h"

#include <algorithm>
#include <limits>

namespace lazpack {

IntegerCompressor::IntegerCompressor(std::uint32_t bits, std::uint32_t contexts, std::uint32_t bitsHigh)
    : m_bitsHigh(bitsHigh)
{
    if (bits > 0 && bits < 32) {
        m_corrBits = bits;
        m_corrRange = 1u << bits;
        m_corrMin = -static_cast<std::int32_t>(m_corrRange / 2);
        m_corrMax = static_cast<std::int32_t>(m_corrMin + m_corrRange - 1);
    } else {
        m_corrBits = 32;
        m_corrRange = 0;
        m_corrMin = std::numeric_limits<std::int32_t>::min();
        m_corrMax = std::numeric_limits<std::int32_t>::max();
    }
    m_kModels.reserve(contexts);
    for (std::uint32_t i = 0; i < contexts; ++i) m_kModels.emplace_back(m_corrBits + 1);
    m_correctors.reserve(m_corrBits);
    for (std::uint32_t k = 1; k <= m_corrBits; ++k) m_correctors.emplace_back(1u << std::min(k, m_bitsHigh));
}

void IntegerCompressor::Compress(ArithmeticEncoder& enc, std::int32_t predicted, std::int32_t real,
                                 std::uint32_t context)
{
    // The difference wraps into the corrector range (modulo 2^bits).
    std::int32_t corr = static_cast<std::int32_t>(static_cast<std::uint32_t>(real) - static_cast<std::uint32_t>(predicted));
    if (m_corrRange != 0) {
        if (corr < m_corrMin) {
            corr = static_cast<std::int32_t>(static_cast<std::uint32_t>(corr) + m_corrRange);
        } else if (corr > m_corrMax) {
            corr = static_cast<std::int32_t>(static_cast<std::uint32_t>(corr) - m_corrRange);
        }
    }
    WriteCorrector(enc, corr, m_kModels[context]);
}

void IntegerCompressor::WriteCorrector(ArithmeticEncoder& enc, std::int32_t c, SymbolModel& kModel)
{
    // k: bits of |c| for c <= 0, of c - 1 for c > 0, so that c in [-(2^k - 1), -(2^(k-1))]
    // or [2^(k-1) + 1, 2^k] needs k bits.
    std::uint32_t c1 = c <= 0 ? 0u - static_cast<std::uint32_t>(c) : static_cast<std::uint32_t>(c) - 1;
    m_k = 0;
    while (c1 != 0) {
        c1 >>= 1;
        ++m_k;
    }
    enc.EncodeSymbol(kModel, m_k);
    if (m_k == 0) {
        enc.EncodeBit(m_zeroModel, static_cast<std::uint32_t>(c));
        return;
    }
    if (m_k >= 32) return;   // only the most negative value: k says it all
    std::uint32_t u = static_cast<std::uint32_t>(c);
    if (c < 0) {
        u += (1u << m_k) - 1;
    } else {
        u -= 1;
    }
    if (m_k <= m_bitsHigh) {
        enc.EncodeSymbol(m_correctors[m_k - 1], u);
    } else {
        const std::uint32_t lowBits = m_k - m_bitsHigh;
        const std::uint32_t low = u & ((1u << lowBits) - 1);
        enc.EncodeSymbol(m_correctors[m_k - 1], u >> lowBits);
        enc.WriteBits(lowBits, low);
    }
}

} // namespace lazpack

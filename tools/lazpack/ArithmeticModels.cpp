#include "ArithmeticModels.h"

#include <algorithm>
#include <stdexcept>

namespace lazpack {

BitModel::BitModel() = default;

void BitModel::Update()
{
    // Halve the counts once they pass the limit, keeping the model adaptive.
    m_count += m_cycle;
    if (m_count > kBitMaxCount) {
        m_count = (m_count + 1) >> 1;
        m_zeroCount = (m_zeroCount + 1) >> 1;
        if (m_zeroCount == m_count) ++m_count;
    }
    const std::uint32_t scale = 0x80000000u / m_count;
    m_zeroProbability = (m_zeroCount * scale) >> (31 - kBitLengthShift);
    m_cycle = std::min<std::uint32_t>((5 * m_cycle) >> 2, 64);
    m_untilUpdate = m_cycle;
}

SymbolModel::SymbolModel(std::uint32_t symbols)
{
    if (symbols < 2 || symbols > (1u << 11)) throw std::invalid_argument("symbol model size out of range");
    m_distribution.assign(symbols, 0);
    m_counts.assign(symbols, 1);
    m_cycle = symbols;
    Update();
    m_cycle = (symbols + 6) >> 1;
    m_untilUpdate = m_cycle;
}

void SymbolModel::Update()
{
    m_total += m_cycle;
    if (m_total > kSymbolMaxCount) {
        m_total = 0;
        for (std::uint32_t& count : m_counts) {
            count = (count + 1) >> 1;
            m_total += count;
        }
    }
    const std::uint32_t scale = 0x80000000u / m_total;
    std::uint32_t sum = 0;
    for (std::size_t k = 0; k < m_counts.size(); ++k) {
        m_distribution[k] = (scale * sum) >> (31 - kSymbolLengthShift);
        sum += m_counts[k];
    }
    const std::uint32_t maxCycle = (Symbols() + 6) << 3;
    m_cycle = std::min((5 * m_cycle) >> 2, maxCycle);
    m_untilUpdate = m_cycle;
}

} // namespace lazpack

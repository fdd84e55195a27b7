#pragma once

#include <cstdint>
#include <vector>

// The adaptive probability models of the LAZ arithmetic coder. Encoder and decoder
// must update them identically, so both sides share these classes: a model only
// counts what was coded and periodically turns the counts into probabilities.
namespace lazpack {

inline constexpr std::uint32_t kBitLengthShift = 13;     // bit-model probabilities are out of 2^13
inline constexpr std::uint32_t kBitMaxCount = 1u << 13;
inline constexpr std::uint32_t kSymbolLengthShift = 15;  // symbol-model distributions are out of 2^15
inline constexpr std::uint32_t kSymbolMaxCount = 1u << 15;

//! Adaptive model of one binary decision.
class BitModel {
public:
    BitModel();
    //! Probability of a 0, scaled to 2^13.
    std::uint32_t Zero() const { return m_zeroProbability; }
    //! Counts a coded bit; rebuilds the probability when its update cycle ends.
    void Record(std::uint32_t bit)
    {
        if (bit == 0) ++m_zeroCount;
        if (--m_untilUpdate == 0) Update();
    }

private:
    void Update();
    std::uint32_t m_zeroCount = 1;
    std::uint32_t m_count = 2;
    std::uint32_t m_zeroProbability = 1u << (kBitLengthShift - 1);
    std::uint32_t m_cycle = 4;
    std::uint32_t m_untilUpdate = 4;
};

//! Adaptive model of a symbol in [0, symbols), 2 <= symbols <= 2048.
class SymbolModel {
public:
    explicit SymbolModel(std::uint32_t symbols);
    std::uint32_t Symbols() const { return static_cast<std::uint32_t>(m_counts.size()); }
    std::uint32_t LastSymbol() const { return Symbols() - 1; }
    //! Cumulative probability of the symbols below `symbol`, scaled to 2^15.
    std::uint32_t Low(std::uint32_t symbol) const { return m_distribution[symbol]; }
    //! Counts a coded symbol; rebuilds the distribution when its update cycle ends.
    void Record(std::uint32_t symbol)
    {
        ++m_counts[symbol];
        if (--m_untilUpdate == 0) Update();
    }

private:
    void Update();
    std::vector<std::uint32_t> m_distribution;
    std::vector<std::uint32_t> m_counts;
    std::uint32_t m_total = 0;
    std::uint32_t m_cycle = 0;
    std::uint32_t m_untilUpdate = 0;
};

} // namespace lazpack

#pragma once

#include "ArithmeticModels.h"

#include <cstdint>
#include <vector>

namespace lazpack {

inline constexpr std::uint32_t kMinLength = 0x01000000u;   // renormalise below this interval length
inline constexpr std::uint32_t kMaxLength = 0xFFFFFFFFu;

//! The LAZ arithmetic encoder: 32-bit base and length, bytes out most significant
//! first, carries propagated back into the bytes already produced.
class ArithmeticEncoder {
public:
    explicit ArithmeticEncoder(std::vector<std::uint8_t>& out) : m_out(out) {}

    void EncodeBit(BitModel& model, std::uint32_t bit);
    void EncodeSymbol(SymbolModel& model, std::uint32_t symbol);
    //! Raw bits with equal probabilities, at most 32.
    void WriteBits(std::uint32_t bits, std::uint32_t value);
    void WriteShort(std::uint16_t value);
    void WriteInt(std::uint32_t value);
    //! Flushes the interval so that a decoder reading four bytes ahead stays in the data.
    void Done();

private:
    void AddToBase(std::uint32_t x);
    void PropagateCarry();
    void Renormalise();

    std::vector<std::uint8_t>& m_out;
    std::size_t m_start = m_out.size();   // carries never reach bytes before this
    std::uint32_t m_base = 0;
    std::uint32_t m_length = kMaxLength;
};

} // namespace lazpack

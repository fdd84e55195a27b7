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
    //! Appends to `out`, which holds spare bytes until Done() trims it.
    explicit ArithmeticEncoder(std::vector<std::uint8_t>& out);

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
    void PutByte(std::uint8_t byte)
    {
        if (m_used == m_out.size()) m_out.resize(m_out.size() * 2);
        m_out[m_used++] = byte;
    }

    std::vector<std::uint8_t>& m_out;
    std::size_t m_start;   // carries never reach bytes before this
    std::size_t m_used;    // bytes of m_out in use
    std::uint32_t m_base = 0;
    std::uint32_t m_length = kMaxLength;
};

} // namespace lazpack

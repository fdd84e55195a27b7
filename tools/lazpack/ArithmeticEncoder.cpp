#include "ArithmeticEncoder.h"

#include <algorithm>

namespace lazpack {

ArithmeticEncoder::ArithmeticEncoder(std::vector<std::uint8_t>& out)
    : m_out(out), m_start(out.size()), m_used(out.size())
{
    m_out.resize(std::max<std::size_t>(m_used + 4096, m_out.capacity()));
}

void ArithmeticEncoder::AddToBase(std::uint32_t x)
{
    const std::uint32_t before = m_base;
    m_base += x;
    if (m_base < before) PropagateCarry();
}

void ArithmeticEncoder::PropagateCarry()
{
    std::size_t i = m_used;
    while (i > m_start && m_out[i - 1] == 0xFF) m_out[--i] = 0;
    if (i > m_start) ++m_out[i - 1];
}

void ArithmeticEncoder::Renormalise()
{
    do {
        PutByte(static_cast<std::uint8_t>(m_base >> 24));
        m_base <<= 8;
    } while ((m_length <<= 8) < kMinLength);
}

void ArithmeticEncoder::EncodeBit(BitModel& model, std::uint32_t bit)
{
    const std::uint32_t x = model.Zero() * (m_length >> kBitLengthShift);
    if (bit == 0) {
        m_length = x;
    } else {
        AddToBase(x);
        m_length -= x;
    }
    if (m_length < kMinLength) Renormalise();
    model.Record(bit);
}

void ArithmeticEncoder::EncodeSymbol(SymbolModel& model, std::uint32_t symbol)
{
    std::uint32_t x;
    if (symbol == model.LastSymbol()) {
        // The top symbol takes the rest of the interval.
        x = model.Low(symbol) * (m_length >> kSymbolLengthShift);
        AddToBase(x);
        m_length -= x;
    } else {
        m_length >>= kSymbolLengthShift;
        x = model.Low(symbol) * m_length;
        AddToBase(x);
        m_length = model.Low(symbol + 1) * m_length - x;
    }
    if (m_length < kMinLength) Renormalise();
    model.Record(symbol);
}

void ArithmeticEncoder::WriteBits(std::uint32_t bits, std::uint32_t value)
{
    if (bits > 19) {
        WriteShort(static_cast<std::uint16_t>(value & 0xFFFF));
        value >>= 16;
        bits -= 16;
    }
    m_length >>= bits;
    AddToBase(value * m_length);
    if (m_length < kMinLength) Renormalise();
}

void ArithmeticEncoder::WriteShort(std::uint16_t value)
{
    m_length >>= 16;
    AddToBase(value * m_length);
    if (m_length < kMinLength) Renormalise();
}

void ArithmeticEncoder::WriteInt(std::uint32_t value)
{
    WriteShort(static_cast<std::uint16_t>(value & 0xFFFF));
    WriteShort(static_cast<std::uint16_t>(value >> 16));
}

void ArithmeticEncoder::Done()
{
    bool anotherByte = true;
    if (m_length > 2 * kMinLength) {
        AddToBase(kMinLength);
        m_length = kMinLength >> 1;
    } else {
        AddToBase(kMinLength >> 1);
        m_length = kMinLength >> 9;
        anotherByte = false;
    }
    Renormalise();
    // The decoder keeps four bytes in its window: pad so it never reads past the end.
    PutByte(0);
    PutByte(0);
    if (anotherByte) PutByte(0);
    m_out.resize(m_used);
}

} // namespace lazpack

#include "viewer/files/PipeMessage.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

std::uint32_t LoadU32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void StoreU32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

}  // namespace

std::int32_t PipeMessage::Int32At(std::size_t offset) const
{
    if (offset + 4 > kSize) return 0;
    return std::int32_t(LoadU32(m_bytes.data() + offset));
}

void PipeMessage::SetInt32At(std::size_t offset, std::int32_t value)
{
    if (offset + 4 > kSize) return;
    StoreU32(m_bytes.data() + offset, std::uint32_t(value));
}

double PipeMessage::DoubleAt(std::size_t offset) const
{
    if (offset + 8 > kSize) return 0.0;
    const std::uint64_t bits = std::uint64_t(LoadU32(m_bytes.data() + offset)) |
                               std::uint64_t(LoadU32(m_bytes.data() + offset + 4)) << 32;
    return std::bit_cast<double>(bits);
}

void PipeMessage::SetDoubleAt(std::size_t offset, double value)
{
    if (offset + 8 > kSize) return;
    const auto bits = std::bit_cast<std::uint64_t>(value);
    StoreU32(m_bytes.data() + offset, std::uint32_t(bits));
    StoreU32(m_bytes.data() + offset + 4, std::uint32_t(bits >> 32));
}

std::optional<std::string> PipeMessage::RawTextAt(std::size_t offset) const
{
    if (offset >= kSize) return std::nullopt;
    const std::size_t room = std::min(kPathBytes, kSize - offset);
    const auto* begin = reinterpret_cast<const char*>(m_bytes.data() + offset);
    const std::size_t length = strnlen(begin, room);
    if (length == room) return std::nullopt;
    return std::string(begin, length);
}

bool PipeMessage::SetRawTextAt(std::size_t offset, std::string_view bytes)
{
    if (offset >= kSize) return false;
    const std::size_t room = std::min(kPathBytes, kSize - offset);
    if (bytes.size() + 1 > room || bytes.find('\0') != std::string_view::npos) return false;
    std::memcpy(m_bytes.data() + offset, bytes.data(), bytes.size());
    std::memset(m_bytes.data() + offset + bytes.size(), 0, room - bytes.size());
    return true;
}

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hostfile {

// Little-endian byte writer of the tools. Deliberately separate from the
// viewer's archive code, so a layout mistake in one cannot pass the other's tests.
class HostFileBytes {
public:
    void U8(std::uint8_t v) { m_bytes.push_back(v); }
    void U16(std::uint16_t v);
    void I32(std::int32_t v) { U32(std::uint32_t(v)); }
    void U32(std::uint32_t v);
    void U64(std::uint64_t v);
    void F64(double v);
    void Raw(const void* data, std::size_t size);
    // Counted string of CP932 bytes: length byte, or 0xFF and a 16-bit length, or
    // 0xFF 0xFFFF and a 32-bit length.
    void CountedCp932(std::string_view cp932);
    // The same text in the wide form: 0xFF 0xFFFE, then the prefix counting
    // UTF-16 units, then the units.
    void CountedWide(const std::u16string& text);

    std::size_t Size() const { return m_bytes.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::vector<std::uint8_t>& Bytes() { return m_bytes; }

private:
    void LengthPrefix(std::uint64_t length);
    std::vector<std::uint8_t> m_bytes;
};

// UTF-8 to CP932 through iconv; empty optional-like flag when not encodable.
bool Utf8ToCp932(std::string_view utf8, std::string& cp932);

}  // namespace hostfile

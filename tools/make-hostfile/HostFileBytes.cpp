#include "HostFileBytes.h"

#include <bit>
#include <cstring>
#include <iconv.h>

namespace hostfile {

void HostFileBytes::U16(std::uint16_t v)
{
    U8(std::uint8_t(v));
    U8(std::uint8_t(v >> 8));
}

void HostFileBytes::U32(std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) U8(std::uint8_t(v >> (8 * i)));
}

void HostFileBytes::U64(std::uint64_t v)
{
    for (int i = 0; i < 8; ++i) U8(std::uint8_t(v >> (8 * i)));
}

void HostFileBytes::F64(double v) { U64(std::bit_cast<std::uint64_t>(v)); }

void HostFileBytes::Raw(const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    m_bytes.insert(m_bytes.end(), p, p + size);
}

void HostFileBytes::LengthPrefix(std::uint64_t length)
{
    if (length < 0xFF) {
        U8(std::uint8_t(length));
    } else if (length < 0xFFFE) {
        U8(0xFF);
        U16(std::uint16_t(length));
    } else {
        U8(0xFF);
        U16(0xFFFF);
        U32(std::uint32_t(length));
    }
}

void HostFileBytes::CountedCp932(std::string_view cp932)
{
    LengthPrefix(cp932.size());
    Raw(cp932.data(), cp932.size());
}

void HostFileBytes::CountedWide(const std::u16string& text)
{
    U8(0xFF);
    U16(0xFFFE);
    LengthPrefix(text.size());
    for (char16_t c : text) U16(std::uint16_t(c));
}

bool Utf8ToCp932(std::string_view utf8, std::string& cp932)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == iconv_t(-1)) return false;
    std::string in(utf8);
    std::string out(in.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == std::size_t(-1)) return false;
    out.resize(out.size() - outLeft);
    cp932 = std::move(out);
    return true;
}

}  // namespace hostfile

#include "platform/Cp932.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace tessara {
namespace {

// One conversion descriptor per thread and direction: iconv descriptors carry
// state and must not be shared between threads.
class IconvDescriptor {
public:
    IconvDescriptor(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~IconvDescriptor()
    {
        if (Valid()) {
            iconv_close(m_cd);
        }
    }
    IconvDescriptor(const IconvDescriptor&) = delete;
    IconvDescriptor& operator=(const IconvDescriptor&) = delete;

    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    std::optional<std::string> Convert(std::string_view in);

private:
    iconv_t m_cd;
};

std::optional<std::string> IconvDescriptor::Convert(std::string_view in)
{
    if (!Valid()) {
        return std::nullopt;
    }
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 3 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    while (srcLeft > 0) {
        if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno != E2BIG) {
            return std::nullopt;    // EILSEQ or EINVAL: not representable or not valid input
        }
        const std::size_t used = out.size() - dstLeft;
        out.resize(out.size() * 2);
        dst = out.data() + used;
        dstLeft = out.size() - used;
    }
    if (iconv(m_cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    out.resize(out.size() - dstLeft);
    return out;
}

IconvDescriptor& ToCp932Descriptor()
{
    thread_local IconvDescriptor descriptor("CP932", "UTF-8");
    return descriptor;
}

IconvDescriptor& FromCp932Descriptor()
{
    thread_local IconvDescriptor descriptor("UTF-8", "CP932");
    return descriptor;
}

// Length of the UTF-8 sequence starting at text[pos], or 0 when it is not valid.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// Bytes one UTF-8 character takes in CP932; unrepresentable characters count as two.
std::size_t Cp932CharLength(std::string_view character)
{
    if (character.size() == 1) {
        return 1;
    }
    const auto converted = ToCp932Descriptor().Convert(character);
    return converted ? converted->size() : 2;
}

} // namespace

Cp932Bytes Cp932Bytes::FromBytes(std::string_view bytes)
{
    return Cp932Bytes(std::string(bytes));
}

Cp932Bytes Cp932Bytes::FromCString(const char* field, std::size_t maxBytes)
{
    const void* nul = std::memchr(field, '\0', maxBytes);
    const std::size_t length = nul ? static_cast<const char*>(nul) - field : maxBytes;
    return Cp932Bytes(std::string(field, length));
}

std::optional<Cp932Bytes> ToCp932(std::string_view utf8)
{
    auto converted = ToCp932Descriptor().Convert(utf8);
    if (!converted) {
        return std::nullopt;
    }
    return Cp932Bytes::FromBytes(*converted);
}

std::optional<std::string> FromCp932(const Cp932Bytes& bytes)
{
    return FromCp932Descriptor().Convert(bytes.Bytes());
}

bool IsCp932LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::size_t Cp932CutLength(const Cp932Bytes& bytes, std::size_t maxBytes)
{
    const std::string& text = bytes.Bytes();
    std::size_t pos = 0;
    while (pos < text.size()) {
        const bool lead = IsCp932LeadByte(static_cast<unsigned char>(text[pos]));
        const std::size_t next = (lead && pos + 1 < text.size()) ? pos + 2 : pos + 1;
        if (next > maxBytes) {
            break;
        }
        pos = next;
    }
    return pos;
}

std::string CutToCp932Bytes(std::string_view utf8, std::size_t maxBytes)
{
    std::size_t pos = 0;
    std::size_t used = 0;
    while (pos < utf8.size()) {
        const std::size_t length = Utf8SequenceLength(utf8, pos);
        if (length == 0) {
            break;
        }
        const std::size_t cost = Cp932CharLength(utf8.substr(pos, length));
        if (used + cost > maxBytes) {
            break;
        }
        used += cost;
        pos += length;
    }
    return std::string(utf8.substr(0, pos));
}

std::size_t Cp932Length(std::string_view utf8)
{
    std::size_t pos = 0;
    std::size_t used = 0;
    while (pos < utf8.size()) {
        const std::size_t length = Utf8SequenceLength(utf8, pos);
        if (length == 0) {
            return used + (utf8.size() - pos);
        }
        used += Cp932CharLength(utf8.substr(pos, length));
        pos += length;
    }
    return used;
}

} // namespace tessara

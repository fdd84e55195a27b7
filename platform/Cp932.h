#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tessara {

// Bytes in the CP932 (Shift_JIS, Windows) encoding, kept apart from UTF-8 text so a
// missed conversion at a file, archive or pipe boundary does not compile. Only the
// conversions below and readers of stored bytes (FromBytes, FromCString) make one.
class Cp932Bytes {
public:
    Cp932Bytes() = default;

    // Bytes read from a file, archive or pipe record, taken as they stand.
    static Cp932Bytes FromBytes(std::string_view bytes);
    // A NUL-terminated field of at most maxBytes bytes (fixed-size record fields).
    static Cp932Bytes FromCString(const char* field, std::size_t maxBytes);

    const std::string& Bytes() const { return m_bytes; }
    const char* data() const { return m_bytes.data(); }
    std::size_t size() const { return m_bytes.size(); }
    bool empty() const { return m_bytes.empty(); }

    bool operator==(const Cp932Bytes&) const = default;

private:
    explicit Cp932Bytes(std::string bytes) : m_bytes(std::move(bytes)) {}
    std::string m_bytes;
};

// UTF-8 to CP932; nullopt when the text is not valid UTF-8 or holds a character
// CP932 cannot represent.
std::optional<Cp932Bytes> ToCp932(std::string_view utf8);

// CP932 to UTF-8; nullopt when the bytes are not valid CP932.
std::optional<std::string> FromCp932(const Cp932Bytes& bytes);

// True for a byte that starts a double-byte CP932 character (0x81-0x9F, 0xE0-0xFC).
// Trail bytes overlap this range, so a byte's role is only known by scanning from
// the start of the string.
bool IsCp932LeadByte(unsigned char byte);

// The longest prefix length, at most maxBytes, that ends on a character boundary.
// A lead byte with no trail byte at the very end counts as one (broken) character.
std::size_t Cp932CutLength(const Cp932Bytes& bytes, std::size_t maxBytes);

// The longest whole-character prefix of utf8 whose CP932 form fits in maxBytes.
// A character CP932 cannot represent is measured as two bytes; invalid UTF-8 ends
// the prefix.
std::string CutToCp932Bytes(std::string_view utf8, std::size_t maxBytes);

// Number of bytes the CP932 form of utf8 takes, measured as CutToCp932Bytes does.
std::size_t Cp932Length(std::string_view utf8);

} // namespace tessara

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plugcommon {

// Fixed-length text cells of the table sheets: a cell code with 0xF in bits 16 to 19
// carries its field size in bits 20 to 27, and the text may use that size minus one
// (the terminator) in CP932 bytes.
class FixedLengthCut {
public:
    // The byte limit of a fixed-length cell; nullopt for other cells and for a code
    // whose size bits are 0 (such a cell has no fixed length).
    static std::optional<std::size_t> LimitOfCode(std::uint32_t cellCode);

    // The text cut to at most maxBytes CP932 bytes, never splitting a double-byte
    // character (the cut falls one byte earlier then).
    static std::string Cut(std::string_view utf8, std::size_t maxBytes);
};

} // namespace plugcommon

#include "plugins/common/FixedLengthCut.h"

#include "platform/Cp932.h"

namespace plugcommon {

std::optional<std::size_t> FixedLengthCut::LimitOfCode(std::uint32_t cellCode)
{
    if (((cellCode >> 16) & 0xFu) != 0xFu)
        return std::nullopt;
    const std::uint32_t size = (cellCode >> 20) & 0xFFu;
    if (size == 0)
        return std::nullopt;
    return static_cast<std::size_t>(size - 1);
}

std::string FixedLengthCut::Cut(std::string_view utf8, std::size_t maxBytes)
{
    return tessara::CutToCp932Bytes(utf8, maxBytes);
}

} // namespace plugcommon

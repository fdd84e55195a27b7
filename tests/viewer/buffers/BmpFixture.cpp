#include "BmpFixture.h"

#include <cstdlib>

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

}  // namespace

std::vector<std::uint8_t> BmpFixture::Bytes() const
{
    const std::uint32_t stride = (static_cast<std::uint32_t>(std::abs(width)) * bits + 31) / 32 * 4;
    const std::uint32_t rows = static_cast<std::uint32_t>(std::abs(height));
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(masks.size()) * 4 + paletteEntries * 4;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + stride * rows);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, compression);
    Put32(out, stride * rows);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, coloursUsed);
    Put32(out, 0);
    for (std::uint32_t m : masks) Put32(out, m);
    for (std::uint32_t i = 0; i < paletteEntries; ++i) Put32(out, palette(static_cast<int>(i)));
    for (std::uint32_t y = 0; y < rows; ++y) {
        std::vector<std::uint8_t> bytes = row ? row(static_cast<int>(y)) : std::vector<std::uint8_t>{};
        bytes.resize(stride, 0);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

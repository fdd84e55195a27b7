#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Writes small Windows bitmap files byte by byte for the reader and texture tests.
struct BmpFixture {
    std::int32_t width = 3;
    std::int32_t height = 2;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t paletteEntries = 0;   // written entries; 0 = none
    std::uint32_t coloursUsed = 0;      // header field
    std::vector<std::uint32_t> masks;   // bit-field masks after the header
    //! Pixel bytes of row y (bottom-up as stored) without padding.
    std::function<std::vector<std::uint8_t>(int y)> row;
    //! Palette entry i as 0x00RRGGBB.
    std::function<std::uint32_t(int i)> palette = [](int i) {
        return static_cast<std::uint32_t>(i * 0x010101);
    };

    std::vector<std::uint8_t> Bytes() const;
};

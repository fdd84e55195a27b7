#pragma once

#include <cstdint>
#include <vector>

// A device-independent bitmap as textures take it: header values, the colour
// table and the pixel rows bottom-up, each row padded to a multiple of 4 bytes.
class Dib {
public:
    struct PaletteEntry {
        std::uint8_t blue = 0;
        std::uint8_t green = 0;
        std::uint8_t red = 0;
        std::uint8_t reserved = 0;
    };

    Dib() = default;
    Dib(int width, int height, int bitsPerPixel);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int BitsPerPixel() const { return m_bitsPerPixel; }
    std::size_t Stride() const { return m_stride; }
    bool IsEmpty() const { return m_width <= 0 || m_height <= 0; }

    //! Row 0 is the bottom row of the picture.
    std::uint8_t* Row(int y) { return m_bits.data() + static_cast<std::size_t>(y) * m_stride; }
    const std::uint8_t* Row(int y) const { return m_bits.data() + static_cast<std::size_t>(y) * m_stride; }
    std::uint8_t* Bits() { return m_bits.data(); }
    const std::uint8_t* Bits() const { return m_bits.data(); }
    std::size_t BitsSize() const { return m_bits.size(); }

    std::vector<PaletteEntry>& Palette() { return m_palette; }
    const std::vector<PaletteEntry>& Palette() const { return m_palette; }

    //! Bytes of one row of `width` pixels at `bitsPerPixel`, padded to 4 bytes.
    static std::uint64_t RowStride(std::uint64_t width, int bitsPerPixel);

private:
    int m_width = 0;
    int m_height = 0;
    int m_bitsPerPixel = 0;
    std::size_t m_stride = 0;
    std::vector<std::uint8_t> m_bits;
    std::vector<PaletteEntry> m_palette;
};

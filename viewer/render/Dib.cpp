#include "viewer/render/Dib.h"

Dib::Dib(int width, int height, int bitsPerPixel)
    : m_width(width), m_height(height), m_bitsPerPixel(bitsPerPixel),
      m_stride(static_cast<std::size_t>(RowStride(static_cast<std::uint64_t>(width), bitsPerPixel))),
      m_bits(m_stride * static_cast<std::size_t>(height))
{
}

std::uint64_t Dib::RowStride(std::uint64_t width, int bitsPerPixel)
{
    return (width * static_cast<std::uint64_t>(bitsPerPixel) + 31) / 32 * 4;
}

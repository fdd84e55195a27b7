#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class COpenGLBaseView;

// The view's picture as an uncompressed 32-bit Windows bitmap: a 54-byte header,
// then the rows bottom-up in BGRA, no padding.

inline constexpr std::uint32_t kBitmapHeaderBytes = 54;

//! Pixel bytes of a width x height picture; none when a side is not positive or
//! the whole file would not fit the format's 32-bit size field.
std::optional<std::uint64_t> BitmapPixelBytes(int width, int height);
//! The file and info headers of such a picture (sides from BitmapPixelBytes).
std::array<std::uint8_t, kBitmapHeaderBytes> BitmapHeader(int width, int height);
//! Writes the picture (bottom-up BGRA, exactly BitmapPixelBytes bytes) to path
//! through an atomic replace: true only once the whole file is on disk; on any
//! failure the previous file stays as it was.
bool WriteBitmapPixels(const std::string& path, int width, int height, std::span<const std::uint8_t> bgra);
//! The view's last composited picture, width x height from its lower left corner,
//! bottom-up BGRA. False (bgra emptied) when the view has no picture, the size
//! does not fit its frame or the memory, or GL reports an error.
bool ReadViewPicture(COpenGLBaseView& view, int width, int height, std::vector<std::uint8_t>& bgra);
//! Saves the view's picture, at the view's size, as a BMP file at path.
bool WriteBitmapFile(COpenGLBaseView& view, const std::string& path);

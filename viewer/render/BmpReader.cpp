#include "viewer/render/BmpReader.h"

#include "viewer/render/Dib.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionBitFields = 3;
// Larger pictures cannot become a texture on any card we meet; refusing them
// here keeps a corrupt header from asking for gigabytes.
constexpr std::int64_t kMaxSide = 1 << 16;
constexpr std::uint64_t kMaxPixelBytes = std::uint64_t{1} << 30;

std::uint32_t U32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::int32_t I32(const std::uint8_t* p) { return static_cast<std::int32_t>(U32(p)); }

bool IsKnownDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

}  // namespace

BmpReader::Status BmpReader::ReadFile(const std::string& path, Dib& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return Status::CannotOpen;
    std::vector<std::uint8_t> bytes;
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::bad_alloc&) {
        return Status::OutOfMemory;
    }
    if (in.bad()) return Status::CannotOpen;
    return ReadBytes(bytes, out);
}

BmpReader::Status BmpReader::ReadBytes(std::span<const std::uint8_t> bytes, Dib& out)
{
    const std::uint64_t size = bytes.size();
    if (size < kFileHeaderBytes + 4) return Status::ShortHeader;
    const std::uint8_t* p = bytes.data();
    if (p[0] != 'B' || p[1] != 'M') return Status::NotBitmap;
    const std::uint64_t pixelOffset = U32(p + 10);
    const std::uint64_t infoSize = U32(p + 14);
    if (infoSize < kInfoHeaderBytes || kFileHeaderBytes + infoSize > size) return Status::ShortHeader;

    const std::uint8_t* info = p + kFileHeaderBytes;
    const std::int64_t width = I32(info + 4);
    const std::int64_t rawHeight = I32(info + 8);
    const int planes = U16(info + 12);
    const int bits = U16(info + 14);
    const std::uint32_t compression = U32(info + 16);
    const std::uint64_t coloursUsed = U32(info + 32);

    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -rawHeight : rawHeight;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || planes != 1)
        return Status::BadDimensions;
    if (!IsKnownDepth(bits)) return Status::UnsupportedDepth;

    if (compression == kCompressionBitFields) {
        if (bits != 32) return Status::UnsupportedCompression;
        // The masks follow a 40-byte header, or sit inside a V4/V5 header.
        const std::uint64_t maskAt = kFileHeaderBytes + kInfoHeaderBytes;
        if (maskAt + 12 > size) return Status::ShortHeader;
        if (U32(p + maskAt) != 0x00FF0000u || U32(p + maskAt + 4) != 0x0000FF00u ||
            U32(p + maskAt + 8) != 0x000000FFu)
            return Status::UnsupportedCompression;
    } else if (compression != kCompressionNone) {
        return Status::UnsupportedCompression;
    }

    std::uint64_t paletteEntries = 0;
    if (bits <= 8) {
        const std::uint64_t full = std::uint64_t{1} << bits;
        paletteEntries = coloursUsed == 0 ? full : coloursUsed;
        if (paletteEntries > 256) return Status::BadPalette;
    } else if (coloursUsed > 256) {
        return Status::BadPalette;
    }
    std::uint64_t paletteAt = kFileHeaderBytes + infoSize;
    if (compression == kCompressionBitFields && infoSize == kInfoHeaderBytes) paletteAt += 12;
    if (paletteAt + paletteEntries * 4 > size) return Status::BadPalette;

    const std::uint64_t stride = Dib::RowStride(static_cast<std::uint64_t>(width), bits);
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
    if (pixelBytes > kMaxPixelBytes) return Status::BadDimensions;
    if (pixelOffset < paletteAt || pixelOffset > size || pixelBytes > size - pixelOffset)
        return Status::PixelsOutOfFile;

    try {
        Dib dib(static_cast<int>(width), static_cast<int>(height), bits);
        dib.Palette().resize(static_cast<std::size_t>(paletteEntries));
        for (std::size_t i = 0; i < dib.Palette().size(); ++i) {
            const std::uint8_t* e = p + paletteAt + i * 4;
            dib.Palette()[i] = Dib::PaletteEntry{e[0], e[1], e[2], e[3]};
        }
        for (std::int64_t y = 0; y < height; ++y) {
            const std::int64_t source = topDown ? height - 1 - y : y;
            std::memcpy(dib.Row(static_cast<int>(y)), p + pixelOffset + static_cast<std::uint64_t>(source) * stride,
                        static_cast<std::size_t>(stride));
        }
        out = std::move(dib);
    } catch (const std::bad_alloc&) {
        return Status::OutOfMemory;
    }
    return Status::Ok;
}

const char* BmpReader::Describe(Status status)
{
    switch (status) {
    case Status::Ok: return "ok";
    case Status::CannotOpen: return "the file cannot be read";
    case Status::ShortHeader: return "the bitmap header is truncated";
    case Status::NotBitmap: return "the file is not a bitmap";
    case Status::BadDimensions: return "the bitmap has zero or oversized dimensions";
    case Status::UnsupportedDepth: return "the bitmap has an unknown bit depth";
    case Status::UnsupportedCompression: return "the bitmap is compressed";
    case Status::BadPalette: return "the bitmap's colour table is invalid";
    case Status::PixelsOutOfFile: return "the bitmap's pixel rows run past the end of the file";
    case Status::OutOfMemory: return "not enough memory for the bitmap";
    }
    return "unknown";
}

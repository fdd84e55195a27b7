#pragma once

#include <cstdint>
#include <span>
#include <string>

class Dib;

// Reads Windows bitmap files (uncompressed 1, 4, 8, 16, 24 and 32 bits per
// pixel; bit fields only for 32-bit BGRA) into a bottom-up Dib.
class BmpReader {
public:
    enum class Status {
        Ok,
        CannotOpen,
        ShortHeader,
        NotBitmap,
        BadDimensions,
        UnsupportedDepth,
        UnsupportedCompression,
        BadPalette,
        PixelsOutOfFile,
        OutOfMemory,
    };

    static Status ReadFile(const std::string& path, Dib& out);
    static Status ReadBytes(std::span<const std::uint8_t> bytes, Dib& out);
    //! Short English description for the log.
    static const char* Describe(Status status);
};

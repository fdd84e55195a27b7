#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The fixed 589-byte record both pipes carry in each direction. Fields sit at
// fixed little-endian offsets; every access goes through the accessors, never a
// struct overlay, so the layout does not depend on the compiler's packing.
class PipeMessage {
public:
    static constexpr std::size_t kSize = 589;
    static constexpr std::size_t kPathBytes = 260;

    // Common fields.
    static constexpr std::size_t kCodeOffset = 0;
    static constexpr std::size_t kResultOffset = 1;
    static constexpr std::size_t kPathOffset = 5;

    // Viewer's pipe: command 4 (and 10 on the host's pipe).
    static constexpr std::size_t kExchangeFlagsOffset = 265;
    static constexpr std::size_t kItemCountOffset = 269;
    static constexpr std::size_t kPointLimitOffset = 273;
    // Commands 18 and 19 answer their handler's count here.
    static constexpr std::size_t kHandlerResultOffset = 265;

    // Host's pipe, command 0.
    static constexpr std::size_t kCadColourPictureOffset = 9;
    static constexpr std::size_t kCadTexturePictureOffset = 13;
    static constexpr std::size_t kCadDataPathOffset = 17;
    static constexpr std::size_t kClipRectOffset = 537;  // x, y, width, height doubles
    static constexpr std::size_t kCadTextureSwitchesOffset = 577;
    // Host's pipe, command 13.
    static constexpr std::size_t kTextureSwitchesOffset = 305;
    static constexpr std::size_t kTextureXOffset = 265;
    static constexpr std::size_t kTextureYOffset = 273;
    static constexpr std::size_t kTextureWidthOffset = 281;
    static constexpr std::size_t kTextureHeightOffset = 289;
    static constexpr std::size_t kTextureAngleOffset = 297;
    // Host's pipe, command 17.
    static constexpr std::size_t kAlignmentModeOffset = 5;
    static constexpr std::size_t kWindowRectOffset = 9;  // left, top, right, bottom int32

    PipeMessage() { Clear(); }

    void Clear() { m_bytes.fill(0); }

    std::uint8_t Code() const { return m_bytes[kCodeOffset]; }
    void SetCode(std::uint8_t code) { m_bytes[kCodeOffset] = code; }
    std::int32_t Result() const { return Int32At(kResultOffset); }
    void SetResult(std::int32_t result) { SetInt32At(kResultOffset, result); }

    std::int32_t Int32At(std::size_t offset) const;
    void SetInt32At(std::size_t offset, std::int32_t value);
    double DoubleAt(std::size_t offset) const;
    void SetDoubleAt(std::size_t offset, double value);

    // The raw bytes of a zero-terminated text field of 260 bytes at offset, or
    // nothing when no terminator lies within the field (a host that fills the
    // field must not make us read past it).
    std::optional<std::string> RawTextAt(std::size_t offset) const;
    // Stores raw bytes with their terminator; refuses (false, field untouched)
    // anything that needs more than 259 bytes, so a path is never cut.
    bool SetRawTextAt(std::size_t offset, std::string_view bytes);

    std::uint8_t* Data() { return m_bytes.data(); }
    const std::uint8_t* Data() const { return m_bytes.data(); }

    bool operator==(const PipeMessage& other) const { return m_bytes == other.m_bytes; }

private:
    std::array<std::uint8_t, kSize> m_bytes;
};

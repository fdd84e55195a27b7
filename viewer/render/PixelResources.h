#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The view's raw RGBA8 pixel resources, drawn by the program itself: the point
// marker sprite (33000) and the three overlay textures (35205, 35206, 35207).
class PixelResources {
public:
    //! The pixels of a resource id, or empty for an unknown id.
    static std::vector<std::uint8_t> Load(int id);
    //! Copies a resource into a buffer of exactly bufferBytes (zero-filled past the
    //! resource's end; never more than the buffer holds).
    static std::vector<std::uint8_t> CopyInto(const std::vector<std::uint8_t>& resource, std::size_t bufferBytes);
};

#pragma once

#include "viewer/render/GlFunctions.h"

#include <algorithm>
#include <cstdint>
#include <vector>

class RenderBook;

// The buffer operations every builder and release shares.
class GlBufferOps {
public:
    //! Deletes the name when GL knows it as a buffer; always zeroes it.
    static void Delete(GlFunctions& gl, GLuint& name);
    //! A new buffer on target filled with bytes (GL_STATIC_DRAW); target left unbound.
    static GLuint Upload(GlFunctions& gl, RenderBook& book, GLenum target, const void* data, std::size_t bytes);
    template <class T>
    static GLuint Upload(GlFunctions& gl, RenderBook& book, GLenum target, const std::vector<T>& data)
    {
        return data.empty() ? 0 : Upload(gl, book, target, data.data(), data.size() * sizeof(T));
    }
    //! Discards earlier errors so a check after uploads sees only theirs.
    static void ClearErrors(GlFunctions& gl);
    static bool HadError(GlFunctions& gl);

    //! Pick code of an element number: R low byte, G middle, B high, A 255,
    //! packed in memory order.
    static std::uint32_t PickColour(std::uint64_t number)
    {
        const auto v = static_cast<std::uint32_t>(number % 0xFFFFFFu);
        return v | 0xFF000000u;
    }
    //! A colour channel as GL stores it on an RGBA8 layer: scaled in single
    //! precision and rounded to nearest, ties to even.
    static std::uint8_t ToByte(float c)
    {
        c = std::clamp(c, 0.0f, 1.0f);
        // Adding and taking away 1.5 * 2^23 rounds a float in 0..255 to a whole
        // number the IEEE way (ties to even), without a library call.
        constexpr float kRounder = 12582912.0f;
        return static_cast<std::uint8_t>((c * 255.0f + kRounder) - kRounder);
    }
    static std::uint32_t PackRgba(float r, float g, float b)
    {
        return std::uint32_t{ToByte(r)} | std::uint32_t{ToByte(g)} << 8 | std::uint32_t{ToByte(b)} << 16 |
               0xFF000000u;
    }
    //! The states a pick pass must not have: its colours reach the layer unchanged.
    static void DisablePickSpoilers(GlFunctions& gl);
};

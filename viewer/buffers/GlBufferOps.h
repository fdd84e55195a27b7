#pragma once

#include "viewer/buffers/HostBlocks.h"
#include "viewer/buffers/RenderBook.h"
#include "viewer/render/GlFunctions.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// The buffer operations every builder and release shares.
class GlBufferOps {
public:
    //! Deletes the name when GL knows it as a buffer; always zeroes it.
    static void Delete(GlFunctions& gl, GLuint& name);
    //! The same for a buffer that may have host storage: its block goes back to
    //! the book's pool.
    static void Delete(GlFunctions& gl, GLuint& name, RenderBook& book, BufferStorage& storage);
    //! A new buffer on target filled with bytes (GL_STATIC_DRAW); target left unbound.
    static GLuint Upload(GlFunctions& gl, RenderBook& book, GLenum target, const void* data, std::size_t bytes);
    template <class T>
    static GLuint Upload(GlFunctions& gl, RenderBook& book, GLenum target, const std::vector<T>& data)
    {
        return data.empty() ? 0 : Upload(gl, book, target, data.data(), data.size() * sizeof(T));
    }
    //! A new GL_ARRAY_BUFFER of count elements written in place by write(T* out):
    //! the builder fills GL's own memory (mapped) with no copy of its own; when GL
    //! cannot map, it fills host memory that is then uploaded. 0 for count 0.
    //! With storage, on a renderer that takes host memory as a buffer's storage
    //! (RenderBook::hostStorage), the builder fills a pooled block that becomes
    //! the buffer, kept in storage under the buffer's name.
    template <class T, class Write>
    static GLuint Build(GlFunctions& gl, RenderBook& book, std::size_t count, Write&& write,
                        BufferStorage* storage = nullptr)
    {
        if (count == 0) return 0;
        if (storage != nullptr && book.allowHostStorage && book.hostStorage == 1)
            if (std::unique_ptr<HostBlock> block = book.PointStorage().Take(count * sizeof(T))) {
                write(reinterpret_cast<T*>(block->Data()));
                if (const GLuint wrapped = WrapHost(gl, book, block->Data(), count * sizeof(T)); wrapped != 0) {
                    storage->Keep(wrapped, std::move(block));
                    return wrapped;
                }
                book.PointStorage().Keep(std::move(block));
            }
        GLuint name = 0;
        if (void* mapped = MapNew(gl, book, count * sizeof(T), name)) {
            write(static_cast<T*>(mapped));
            if (Unmap(gl, name)) return name;
        }
        // No mapping, or GL lost the mapped contents: from host memory.
        Delete(gl, name);
        std::vector<T> host(count);
        write(host.data());
        return Upload(gl, book, GL_ARRAY_BUFFER, host);
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

private:
    //! A new GL_ARRAY_BUFFER of that size, mapped for writing and left bound;
    //! null when GL cannot map it (name may then hold a buffer to delete).
    static void* MapNew(GlFunctions& gl, RenderBook& book, std::size_t bytes, GLuint& name);
    //! A new buffer whose storage is that host memory; 0 when GL refuses it.
    static GLuint WrapHost(GlFunctions& gl, RenderBook& book, const void* memory, std::size_t bytes);
    //! Unmaps the bound buffer name and unbinds it; false when its contents were lost.
    static bool Unmap(GlFunctions& gl, GLuint name);
};

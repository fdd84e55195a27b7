#pragma once

#include "viewer/buffers/HostBlocks.h"
#include "viewer/buffers/RenderBook.h"
#include "viewer/render/GlFunctions.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
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
        return BuildSet<1>(
            gl, book, {count * sizeof(T)}, [&](const std::array<void*, 1>& out) { write(static_cast<T*>(out[0])); },
            storage)[0];
    }
    //! N buffers written in one sweep by write(out), out[i] the memory of buffer
    //! i (bytes[i] long, null for none), each placed as Build places it. When GL
    //! refuses a host block or loses mapped contents, the sweep runs again over
    //! host memory and the buffers lost are uploaded from there.
    template <std::size_t N, class Write>
    static std::array<GLuint, N> BuildSet(GlFunctions& gl, RenderBook& book, const std::array<std::size_t, N>& bytes,
                                          Write&& write, BufferStorage* storage = nullptr)
    {
        std::array<BuildTarget, N> targets;
        std::array<void*, N> out{};
        for (std::size_t i = 0; i < N; ++i) out[i] = targets[i].Open(gl, book, bytes[i], storage);
        write(out);
        std::array<GLuint, N> names{};
        bool lost = false;
        for (std::size_t i = 0; i < N; ++i) {
            names[i] = targets[i].Close(gl, book, storage);
            lost = lost || (bytes[i] != 0 && names[i] == 0);
        }
        if (!lost) return names;
        std::array<std::vector<unsigned char>, N> host;
        for (std::size_t i = 0; i < N; ++i) {
            host[i].resize(bytes[i]);
            out[i] = bytes[i] != 0 ? host[i].data() : nullptr;
        }
        write(out);
        for (std::size_t i = 0; i < N; ++i)
            if (bytes[i] != 0 && names[i] == 0) names[i] = Upload(gl, book, GL_ARRAY_BUFFER, host[i].data(), bytes[i]);
        return names;
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
    // The memory one buffer of a build is written in: a pooled host block, a
    // mapped new buffer, or host memory uploaded once written.
    class BuildTarget {
    public:
        //! Memory for bytes (null for none).
        void* Open(GlFunctions& gl, RenderBook& book, std::size_t bytes, BufferStorage* storage);
        //! The buffer of what was written; 0 when GL refused the block or lost
        //! the mapped contents (the memory goes back where it came from).
        GLuint Close(GlFunctions& gl, RenderBook& book, BufferStorage* storage);

    private:
        std::size_t m_bytes = 0;
        std::unique_ptr<HostBlock> m_block;
        GLuint m_mapped = 0;
        std::vector<unsigned char> m_host;
    };

    //! A new GL_ARRAY_BUFFER of that size, mapped for writing and left bound;
    //! null when GL cannot map it (name may then hold a buffer to delete).
    static void* MapNew(GlFunctions& gl, RenderBook& book, std::size_t bytes, GLuint& name);
    //! A new buffer whose storage is that host memory; 0 when GL refuses it.
    static GLuint WrapHost(GlFunctions& gl, RenderBook& book, const void* memory, std::size_t bytes);
    //! Unmaps the bound buffer name and unbinds it; false when its contents were lost.
    static bool Unmap(GlFunctions& gl, GLuint name);
};

#include "viewer/buffers/GlBufferOps.h"

#include "viewer/buffers/RenderBook.h"

#include <utility>

#ifndef GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD
#define GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD 0x9160
#endif

void GlBufferOps::Delete(GlFunctions& gl, GLuint& name)
{
    if (name != 0 && gl.glIsBuffer(name) == GL_TRUE) gl.glDeleteBuffers(1, &name);
    name = 0;
}

GLuint GlBufferOps::Upload(GlFunctions& gl, RenderBook& book, GLenum target, const void* data, std::size_t bytes)
{
    GLuint name = 0;
    gl.glGenBuffers(1, &name);
    gl.glBindBuffer(target, name);
    gl.glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
    gl.glBindBuffer(target, 0);
    book.CountUpload(bytes);
    return name;
}

void GlBufferOps::Delete(GlFunctions& gl, GLuint& name, RenderBook& book, BufferStorage& storage)
{
    const GLuint was = name;
    Delete(gl, name);
    // No buffer uses the memory now: the next build may write it again.
    if (was != 0)
        if (std::unique_ptr<HostBlock> block = storage.Take(was)) book.PointStorage().Keep(std::move(block));
}

void* GlBufferOps::BuildTarget::Open(GlFunctions& gl, RenderBook& book, std::size_t bytes, BufferStorage* storage)
{
    m_bytes = bytes;
    if (bytes == 0) return nullptr;
    if (storage != nullptr && book.allowHostStorage && book.hostStorage == 1)
        if ((m_block = book.PointStorage().Take(bytes))) return m_block->Data();
    if (void* mapped = MapNew(gl, book, bytes, m_mapped)) return mapped;
    // No mapping: host memory, uploaded once written.
    Delete(gl, m_mapped);
    m_host.resize(bytes);
    return m_host.data();
}

GLuint GlBufferOps::BuildTarget::Close(GlFunctions& gl, RenderBook& book, BufferStorage* storage)
{
    if (m_bytes == 0) return 0;
    if (m_block) {
        if (const GLuint wrapped = WrapHost(gl, book, m_block->Data(), m_bytes); wrapped != 0) {
            storage->Keep(wrapped, std::move(m_block));
            return wrapped;
        }
        book.PointStorage().Keep(std::move(m_block));
        return 0;
    }
    if (m_mapped != 0) {
        if (Unmap(gl, m_mapped)) return std::exchange(m_mapped, 0);
        Delete(gl, m_mapped);
        return 0;
    }
    return Upload(gl, book, GL_ARRAY_BUFFER, m_host.data(), m_bytes);
}

GLuint GlBufferOps::WrapHost(GlFunctions& gl, RenderBook& book, const void* memory, std::size_t bytes)
{
    ClearErrors(gl);
    GLuint name = 0;
    gl.glGenBuffers(1, &name);
    gl.glBindBuffer(GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD, name);
    gl.glBufferData(GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD, static_cast<GLsizeiptr>(bytes), memory, GL_STATIC_DRAW);
    gl.glBindBuffer(GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD, 0);
    if (HadError(gl)) {
        Delete(gl, name);
        return 0;
    }
    book.CountUpload(bytes);
    return name;
}

void* GlBufferOps::MapNew(GlFunctions& gl, RenderBook& book, std::size_t bytes, GLuint& name)
{
    gl.glGenBuffers(1, &name);
    if (name == 0) return nullptr;
    gl.glBindBuffer(GL_ARRAY_BUFFER, name);
    gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), nullptr, GL_STATIC_DRAW);
    void* mapped = gl.glMapBufferRange(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes),
                                       GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT);
    if (mapped != nullptr) book.CountUpload(bytes);
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    return mapped;
}

bool GlBufferOps::Unmap(GlFunctions& gl, GLuint name)
{
    gl.glBindBuffer(GL_ARRAY_BUFFER, name);
    const bool kept = gl.glUnmapBuffer(GL_ARRAY_BUFFER) == GL_TRUE;
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    return kept;
}

void GlBufferOps::ClearErrors(GlFunctions& gl)
{
    for (int i = 0; i < 16 && gl.glGetError() != GL_NO_ERROR; ++i) {
    }
}

bool GlBufferOps::HadError(GlFunctions& gl)
{
    bool any = false;
    for (int i = 0; i < 16 && gl.glGetError() != GL_NO_ERROR; ++i) any = true;
    return any;
}

void GlBufferOps::DisablePickSpoilers(GlFunctions& gl)
{
    for (GLenum cap : {GL_TEXTURE_2D, GL_LIGHTING, GL_BLEND, GL_POINT_SMOOTH, GL_LINE_SMOOTH, GL_POLYGON_SMOOTH,
                       GL_DITHER, GL_FOG, GL_ALPHA_TEST, GL_COLOR_MATERIAL, GL_COLOR_LOGIC_OP})
        gl.glDisable(cap);
}

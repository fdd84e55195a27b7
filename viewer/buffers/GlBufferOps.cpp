#include "viewer/buffers/GlBufferOps.h"

#include "viewer/buffers/RenderBook.h"

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

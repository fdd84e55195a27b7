#include "viewer/buffers/BufferNameQueue.h"

void BufferNameQueue::Push(GLuint name)
{
    if (name == 0) return;
    std::lock_guard lock(m_mutex);
    m_names.push_back(name);
}

std::size_t BufferNameQueue::Drain(GlFunctions& gl)
{
    std::vector<GLuint> names;
    {
        std::lock_guard lock(m_mutex);
        names.swap(m_names);
    }
    std::size_t deleted = 0;
    for (GLuint name : names) {
        if (gl.glIsBuffer(name) == GL_TRUE) {
            gl.glDeleteBuffers(1, &name);
            ++deleted;
        }
    }
    return deleted;
}

std::size_t BufferNameQueue::Size() const
{
    std::lock_guard lock(m_mutex);
    return m_names.size();
}

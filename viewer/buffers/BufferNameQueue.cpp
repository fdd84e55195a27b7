#include "viewer/buffers/BufferNameQueue.h"

void BufferNameQueue::Push(GLuint name)
{
    if (name == 0) return;
    std::lock_guard lock(m_mutex);
    m_names.push_back(name);
}

void BufferNameQueue::Push(std::unique_ptr<HostBlock> storage)
{
    if (!storage) return;
    std::lock_guard lock(m_mutex);
    m_storage.push_back(std::move(storage));
}

std::size_t BufferNameQueue::Drain(GlFunctions& gl)
{
    std::vector<GLuint> names;
    std::vector<std::unique_ptr<HostBlock>> storage;
    {
        std::lock_guard lock(m_mutex);
        names.swap(m_names);
        storage.swap(m_storage);
    }
    std::size_t deleted = 0;
    for (GLuint name : names) {
        if (gl.glIsBuffer(name) == GL_TRUE) {
            gl.glDeleteBuffers(1, &name);
            ++deleted;
        }
    }
    storage.clear();  // no buffer uses it any more
    return deleted;
}

std::size_t BufferNameQueue::Size() const
{
    std::lock_guard lock(m_mutex);
    return m_names.size();
}

#pragma once

#include "viewer/render/GlFunctions.h"

#include <mutex>
#include <vector>

// Buffer names whose owner went away without a GL context (a group removed
// from the store by the pipe worker or a command): the next display pass
// deletes them with the context current.
class BufferNameQueue {
public:
    void Push(GLuint name);
    //! Deletes every queued name that is still a buffer; returns how many.
    std::size_t Drain(GlFunctions& gl);
    std::size_t Size() const;

private:
    mutable std::mutex m_mutex;
    std::vector<GLuint> m_names;
};

#pragma once

#include "viewer/buffers/HostBlocks.h"
#include "viewer/render/GlFunctions.h"

#include <memory>

#include <mutex>
#include <vector>

// Buffer names whose owner went away without a GL context (a group removed
// from the store by the pipe worker or a command): the next display pass
// deletes them with the context current, and only then frees the host memory
// those buffers were built in.
class BufferNameQueue {
public:
    void Push(GLuint name);
    void Push(std::unique_ptr<HostBlock> storage);
    //! Deletes every queued name that is still a buffer; returns how many.
    std::size_t Drain(GlFunctions& gl);
    std::size_t Size() const;

private:
    mutable std::mutex m_mutex;
    std::vector<GLuint> m_names;
    std::vector<std::unique_ptr<HostBlock>> m_storage;
};

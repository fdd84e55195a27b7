#pragma once

#include "platform/UniqueFd.h"

#include <atomic>

namespace tessara {

// Wakes socket waits from another thread: once Interrupt() is called, every wait that
// polls Fd() (running or later) returns at once, until Clear(). A stopping thread
// therefore cannot miss the request however the two threads interleave.
class SocketInterrupter {
public:
    SocketInterrupter();

    void Interrupt();
    void Clear();
    bool IsInterrupted() const { return m_interrupted.load(); }
    // Readable while interrupted; -1 when no event descriptor could be made.
    int Fd() const { return m_event.Get(); }

private:
    UniqueFd m_event;
    std::atomic<bool> m_interrupted = false;
};

} // namespace tessara

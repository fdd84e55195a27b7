#pragma once

#include "platform/UniqueFd.h"

#include <cstddef>
#include <string>

namespace tessara {

class SocketInterrupter;

// How a socket operation ended.
enum class SocketStatus {
    Ok,
    NotFound,       // no server socket at that path (or only a stale one)
    Busy,           // the server's queue is full
    Denied,         // the folder or socket is not ours
    TimedOut,
    Interrupted,    // SocketInterrupter::Interrupt() was called
    Closed,         // the peer closed the connection before the whole record moved
    Failed,         // any other system error
};

// One connected AF_UNIX stream socket. Reads and writes move a whole record or
// report failure; a wait ends early on a time-out or an interrupt.
class LocalSocketStream {
public:
    static constexpr int kNoTimeout = -1;

    LocalSocketStream() = default;
    explicit LocalSocketStream(UniqueFd fd);

    // Connects to a server socket without waiting for it to appear.
    SocketStatus Connect(const std::string& socketPath);

    // Reads exactly size bytes; *done tells how many arrived when it fails.
    SocketStatus ReadAll(void* buffer, std::size_t size, std::size_t* done, int timeoutMs,
                         const SocketInterrupter* interrupter = nullptr);
    SocketStatus WriteAll(const void* buffer, std::size_t size, std::size_t* done, int timeoutMs,
                          const SocketInterrupter* interrupter = nullptr);

    bool IsOpen() const { return m_fd.Valid(); }
    void Close() { m_fd.Reset(); }

private:
    // Waits until fd is ready for events; Ok, TimedOut, Interrupted or Failed.
    SocketStatus WaitReady(short events, int timeoutMs, const SocketInterrupter* interrupter) const;

    UniqueFd m_fd;
};

} // namespace tessara

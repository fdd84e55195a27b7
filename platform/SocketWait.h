#pragma once

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

// Waits until fd is ready for events (poll flags): Ok, TimedOut (after timeoutMs; -1
// waits without limit), Interrupted or Failed.
SocketStatus WaitForSocket(int fd, short events, int timeoutMs, const SocketInterrupter* interrupter);

} // namespace tessara

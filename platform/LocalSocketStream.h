#pragma once

#include "platform/SocketWait.h"
#include "platform/UniqueFd.h"

#include <cstddef>
#include <string>

namespace tessara {

class SocketInterrupter;

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
    UniqueFd m_fd;
};

} // namespace tessara

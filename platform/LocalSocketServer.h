#pragma once

#include "platform/LocalSocketStream.h"
#include "platform/UniqueFd.h"

#include <string>
#include <sys/types.h>

namespace tessara {

class SocketInterrupter;

// A listening AF_UNIX stream socket at a path in the private runtime folder. A socket
// left behind by a killed server is removed; a live server's socket, or anything that
// is not a socket of ours, is never touched.
class LocalSocketServer {
public:
    LocalSocketServer() = default;
    ~LocalSocketServer();
    LocalSocketServer(const LocalSocketServer&) = delete;
    LocalSocketServer& operator=(const LocalSocketServer&) = delete;

    SocketStatus Listen(const std::string& socketPath);
    // Waits for one client; Interrupted when the interrupter fires.
    SocketStatus Accept(LocalSocketStream& client, int timeoutMs, const SocketInterrupter* interrupter);
    // Stops listening and removes the socket file, if it is still the one we made.
    void Close();

    bool IsListening() const { return m_listen.Valid(); }

private:
    // Removes a socket at m_path that no server answers; false when it is in use or
    // is not a socket of ours.
    SocketStatus ClearStaleSocket() const;

    UniqueFd m_listen;
    std::string m_path;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

} // namespace tessara

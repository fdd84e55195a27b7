#include "platform/LocalSocketServer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tessara {

LocalSocketServer::~LocalSocketServer()
{
    Close();
}

SocketStatus LocalSocketServer::ClearStaleSocket() const
{
    struct stat info {};
    if (::lstat(m_path.c_str(), &info) != 0) {
        return errno == ENOENT ? SocketStatus::Ok : SocketStatus::Failed;
    }
    if (!S_ISSOCK(info.st_mode) || info.st_uid != ::getuid()) {
        return SocketStatus::Denied;
    }
    LocalSocketStream probe;
    const SocketStatus answer = probe.Connect(m_path);
    if (answer == SocketStatus::Ok || answer == SocketStatus::Busy) {
        return SocketStatus::Busy;    // a live server owns it
    }
    if (answer != SocketStatus::NotFound) {
        return answer;
    }
    return ::unlink(m_path.c_str()) == 0 || errno == ENOENT ? SocketStatus::Ok : SocketStatus::Failed;
}

SocketStatus LocalSocketServer::Listen(const std::string& socketPath)
{
    Close();
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof(address.sun_path)) {
        return SocketStatus::Failed;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    m_path = socketPath;

    // Two servers starting at once must not both judge the socket stale and remove
    // each other's: the check, removal and bind happen under a lock file.
    const std::string lockPath = socketPath + ".lock";
    const UniqueFd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!lock.Valid() || ::flock(lock.Get(), LOCK_EX) != 0) {
        return SocketStatus::Failed;
    }
    const SocketStatus cleared = ClearStaleSocket();
    if (cleared != SocketStatus::Ok) {
        return cleared;
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.Valid() || ::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        return errno == EACCES ? SocketStatus::Denied : SocketStatus::Failed;
    }
    struct stat info {};
    if (::listen(fd.Get(), 4) != 0 || ::lstat(m_path.c_str(), &info) != 0) {
        ::unlink(m_path.c_str());
        return SocketStatus::Failed;
    }
    m_device = info.st_dev;
    m_inode = info.st_ino;
    m_listen = std::move(fd);
    return SocketStatus::Ok;
}

SocketStatus LocalSocketServer::Accept(LocalSocketStream& client, int timeoutMs, const SocketInterrupter* interrupter)
{
    client.Close();
    if (!m_listen.Valid()) {
        return SocketStatus::Closed;
    }
    for (;;) {
        const SocketStatus ready = WaitForSocket(m_listen.Get(), POLLIN, timeoutMs, interrupter);
        if (ready != SocketStatus::Ok) {
            return ready;
        }
        UniqueFd fd(::accept4(m_listen.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (fd.Valid()) {
            client = LocalSocketStream(std::move(fd));
            return SocketStatus::Ok;
        }
        if (errno != EAGAIN && errno != EINTR && errno != ECONNABORTED) {
            return SocketStatus::Failed;
        }
    }
}

void LocalSocketServer::Close()
{
    if (!m_listen.Valid()) {
        return;
    }
    m_listen.Reset();
    struct stat info {};
    if (::lstat(m_path.c_str(), &info) == 0 && info.st_dev == m_device && info.st_ino == m_inode) {
        ::unlink(m_path.c_str());
    }
}

} // namespace tessara

#include "platform/LocalSocketStream.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tessara {
namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until deadline, for poll; -1 without a deadline.
int RemainingMs(int timeoutMs, Clock::time_point deadline)
{
    if (timeoutMs < 0) {
        return -1;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

LocalSocketStream::LocalSocketStream(UniqueFd fd) : m_fd(std::move(fd)) {}

SocketStatus LocalSocketStream::Connect(const std::string& socketPath)
{
    m_fd.Reset();
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof(address.sun_path)) {
        return SocketStatus::Failed;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.Valid()) {
        return SocketStatus::Failed;
    }
    int result = 0;
    do {
        result = ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        switch (errno) {
        case ENOENT:
        case ECONNREFUSED:
            return SocketStatus::NotFound;
        case EAGAIN:
            return SocketStatus::Busy;
        case EACCES:
        case EPERM:
            return SocketStatus::Denied;
        default:
            return SocketStatus::Failed;
        }
    }
    m_fd = std::move(fd);
    return SocketStatus::Ok;
}

SocketStatus LocalSocketStream::ReadAll(void* buffer, std::size_t size, std::size_t* done, int timeoutMs,
                                        const SocketInterrupter* interrupter)
{
    std::size_t got = 0;
    SocketStatus status = m_fd.Valid() ? SocketStatus::Ok : SocketStatus::Closed;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    while (status == SocketStatus::Ok && got < size) {
        status = WaitForSocket(m_fd.Get(), POLLIN, RemainingMs(timeoutMs, deadline), interrupter);
        if (status != SocketStatus::Ok) {
            break;
        }
        const ssize_t n = ::recv(m_fd.Get(), static_cast<char*>(buffer) + got, size - got, MSG_DONTWAIT);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
        } else if (n == 0) {
            status = SocketStatus::Closed;
        } else if (errno != EAGAIN && errno != EINTR) {
            status = errno == ECONNRESET ? SocketStatus::Closed : SocketStatus::Failed;
        }
    }
    if (done) {
        *done = got;
    }
    return status;
}

SocketStatus LocalSocketStream::WriteAll(const void* buffer, std::size_t size, std::size_t* done, int timeoutMs,
                                         const SocketInterrupter* interrupter)
{
    std::size_t sent = 0;
    SocketStatus status = m_fd.Valid() ? SocketStatus::Ok : SocketStatus::Closed;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    while (status == SocketStatus::Ok && sent < size) {
        status = WaitForSocket(m_fd.Get(), POLLOUT, RemainingMs(timeoutMs, deadline), interrupter);
        if (status != SocketStatus::Ok) {
            break;
        }
        // MSG_NOSIGNAL: a vanished peer is a failed write, not the end of the program.
        const ssize_t n = ::send(m_fd.Get(), static_cast<const char*>(buffer) + sent, size - sent,
                                 MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n >= 0) {
            sent += static_cast<std::size_t>(n);
        } else if (errno != EAGAIN && errno != EINTR) {
            status = (errno == EPIPE || errno == ECONNRESET) ? SocketStatus::Closed : SocketStatus::Failed;
        }
    }
    if (done) {
        *done = sent;
    }
    return status;
}

} // namespace tessara

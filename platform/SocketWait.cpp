#include "platform/SocketWait.h"

#include "platform/SocketInterrupter.h"

#include <cerrno>
#include <poll.h>

namespace tessara {

SocketStatus WaitForSocket(int fd, short events, int timeoutMs, const SocketInterrupter* interrupter)
{
    pollfd fds[2] = {{fd, events, 0}, {interrupter ? interrupter->Fd() : -1, POLLIN, 0}};
    for (;;) {
        if (interrupter && interrupter->IsInterrupted()) {
            return SocketStatus::Interrupted;
        }
        const int ready = ::poll(fds, 2, timeoutMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0) {
            return SocketStatus::Failed;
        }
        if (ready == 0) {
            return SocketStatus::TimedOut;
        }
        if (fds[1].revents != 0) {
            return SocketStatus::Interrupted;
        }
        return SocketStatus::Ok;    // ready, or hung up: the transfer that follows tells
    }
}

} // namespace tessara

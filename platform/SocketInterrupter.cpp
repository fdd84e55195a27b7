#include "platform/SocketInterrupter.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace tessara {

SocketInterrupter::SocketInterrupter() : m_event(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void SocketInterrupter::Interrupt()
{
    m_interrupted = true;
    const std::uint64_t one = 1;
    // The counter is never read down while interrupted, so it stays readable.
    [[maybe_unused]] const ssize_t written = ::write(m_event.Get(), &one, sizeof(one));
}

void SocketInterrupter::Clear()
{
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(m_event.Get(), &count, sizeof(count));
    m_interrupted = false;
}

} // namespace tessara

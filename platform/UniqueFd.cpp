#include "platform/UniqueFd.h"

#include <unistd.h>

namespace tessara {

UniqueFd::~UniqueFd()
{
    Reset();
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other) {
        Reset(other.Release());
    }
    return *this;
}

int UniqueFd::Release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void UniqueFd::Reset(int fd)
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = fd;
}

} // namespace tessara

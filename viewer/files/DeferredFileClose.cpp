#include "viewer/files/DeferredFileClose.h"

#include <system_error>
#include <unistd.h>

DeferredFileClose::~DeferredFileClose()
{
    std::lock_guard lock(m_mutex);
    if (m_worker.joinable()) m_worker.join();
}

void DeferredFileClose::Close(int fd)
{
    if (fd < 0) return;
    std::lock_guard lock(m_mutex);
    if (m_worker.joinable()) m_worker.join();
    try {
        m_worker = std::thread([fd] { ::close(fd); });
    } catch (const std::system_error&) {
        ::close(fd);
    }
}

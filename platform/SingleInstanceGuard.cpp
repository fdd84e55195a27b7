#include "platform/SingleInstanceGuard.h"

#include "platform/RuntimeFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace tessara {

SingleInstanceGuard::SingleInstanceGuard(const std::string& name)
{
    const auto folder = RuntimeFolder();
    if (!folder) {
        return;    // no private folder: nothing to guard with, let the program run
    }
    const std::string path = *folder + '/' + name + ".lock";
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.Valid()) {
        return;
    }
    int result = 0;
    do {
        result = ::flock(fd.Get(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        m_alreadyExists = errno == EWOULDBLOCK;
        return;
    }
    m_lock = std::move(fd);
}

} // namespace tessara

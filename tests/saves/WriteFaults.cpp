#include "WriteFaults.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace writefaults {
namespace {

std::atomic<bool> g_armed{false};
std::atomic<std::uint64_t> g_steps{0};
Action g_action = Action::Count;
std::uint64_t g_at = 0;
int g_error = 0;

bool IsRegularFile(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// True when the call must fail (errno set); kills the process at the chosen step.
bool Step(int fd)
{
    if (!g_armed.load(std::memory_order_acquire)) return false;
    if (fd >= 0 && !IsRegularFile(fd)) return false;
    const std::uint64_t index = g_steps.fetch_add(1);
    if (index != g_at) return false;
    if (g_action == Action::Kill) ::raise(SIGKILL);
    if (g_action == Action::Fail) {
        errno = g_error;
        return true;
    }
    return false;
}

template <class Fn>
Fn Next(const char* name)
{
    return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}

} // namespace

void Arm(Action action, std::uint64_t at, int error)
{
    g_action = action;
    g_at = at;
    g_error = error;
    g_steps = 0;
    g_armed.store(true, std::memory_order_release);
}

std::uint64_t Disarm()
{
    g_armed.store(false, std::memory_order_release);
    return g_steps.load();
}

} // namespace writefaults

using writefaults::Step;

// The program's own definitions come before the C library's for every shared
// library too (the test program exports them); each passes on to the next one.
extern "C" {

ssize_t write(int fd, const void* data, size_t size)
{
    static const auto next = writefaults::Next<ssize_t (*)(int, const void*, size_t)>("write");
    return Step(fd) ? -1 : next(fd, data, size);
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset)
{
    static const auto next = writefaults::Next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    return Step(fd) ? -1 : next(fd, data, size, offset);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset)
{
    static const auto next = writefaults::Next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    return Step(fd) ? -1 : next(fd, data, size, offset);
}

int fsync(int fd)
{
    static const auto next = writefaults::Next<int (*)(int)>("fsync");
    return Step(-1) ? -1 : next(fd);
}

int fdatasync(int fd)
{
    static const auto next = writefaults::Next<int (*)(int)>("fdatasync");
    return Step(-1) ? -1 : next(fd);
}

int rename(const char* from, const char* to) noexcept
{
    static const auto next = writefaults::Next<int (*)(const char*, const char*)>("rename");
    return Step(-1) ? -1 : next(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) noexcept
{
    static const auto next = writefaults::Next<int (*)(int, const char*, int, const char*)>("renameat");
    return Step(-1) ? -1 : next(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags) noexcept
{
    static const auto next =
        writefaults::Next<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    return Step(-1) ? -1 : next(fromDir, from, toDir, to, flags);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) noexcept
{
    static const auto next = writefaults::Next<int (*)(int, const char*, int, const char*, int)>("linkat");
    return Step(-1) ? -1 : next(fromDir, from, toDir, to, flags);
}

} // extern "C"

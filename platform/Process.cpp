#include "platform/Process.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace tessara {

std::optional<int> StartProcess(const std::vector<std::string>& argv)
{
    if (argv.empty() || argv.front().empty()) {
        return std::nullopt;
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = 0;
    // glibc reports a failed exec as the spawn's own error.
    if (::posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) {
        return std::nullopt;
    }
    return static_cast<int>(pid);
}

int WaitProcess(int processId)
{
    int status = 0;
    pid_t result = 0;
    do {
        result = ::waitpid(processId, &status, 0);
    } while (result < 0 && errno == EINTR);
    if (result < 0 || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

int RunProcess(const std::vector<std::string>& argv)
{
    const auto pid = StartProcess(argv);
    return pid ? WaitProcess(*pid) : -1;
}

} // namespace tessara

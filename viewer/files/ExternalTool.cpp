#include "viewer/files/ExternalTool.h"

#include "platform/Files.h"
#include "platform/Process.h"

#include <atomic>
#include <filesystem>
#include <thread>
#include <unistd.h>

std::string FindExternalTool(const std::string& name)
{
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const auto beside = self.parent_path() / name;
        if (::access(beside.c_str(), X_OK) == 0) return beside.string();
    }
    return name;
}

ExternalToolResult RunExternalTool(const std::vector<std::string>& argv, const std::function<void()>& wait)
{
    ExternalToolResult result;
    if (argv.empty()) return result;
    std::vector<std::string> args = argv;
    args[0] = FindExternalTool(argv[0]);
    const auto pid = tessara::StartProcess(args);
    if (!pid) return result;
    result.started = true;
    if (!wait) {
        result.exitCode = tessara::WaitProcess(*pid);
        return result;
    }
    // The child is waited for on a thread of its own so the caller can keep its
    // window alive; the thread is joined before the result is read.
    std::atomic<bool> finished{false};
    int code = -1;
    std::thread waiter([&] {
        code = tessara::WaitProcess(*pid);
        finished.store(true, std::memory_order_release);
    });
    while (!finished.load(std::memory_order_acquire)) wait();
    waiter.join();
    result.exitCode = code;
    return result;
}

#include "platform/Parallel.h"

#include <atomic>
#include <sched.h>

namespace tessara {
namespace {

std::atomic<std::size_t> g_workerCount{0};

} // namespace

std::size_t UsableProcessors()
{
    static const std::size_t count = [] {
        cpu_set_t set;
        CPU_ZERO(&set);
        if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
            return static_cast<std::size_t>(CPU_COUNT(&set));
        return static_cast<std::size_t>(std::max(1u, std::thread::hardware_concurrency()));
    }();
    return count;
}

std::size_t WorkerCount()
{
    const std::size_t set = g_workerCount.load(std::memory_order_relaxed);
    return std::clamp<std::size_t>(set != 0 ? set : UsableProcessors(), 1, kMaxWorkers);
}

std::size_t SetWorkerCount(std::size_t count)
{
    return g_workerCount.exchange(count, std::memory_order_relaxed);
}

} // namespace tessara

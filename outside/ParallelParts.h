#pragma once

#include <algorithm>
#include <cstddef>
#include <sched.h>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

// Worker threads for passes over large arrays (points, keys, grid cells).
inline constexpr std::size_t kMaxParallelParts = 8;

// Processors this process may run on (its affinity mask, e.g. under taskset), at
// least 1; worked out once.
inline std::size_t UsableProcessors()
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

// Splits [0, n) into contiguous parts, one per usable processor (more threads only for
// larger n), and runs fn(begin, end, part) on each; the calling thread takes part
// 0 and the others are joined before this returns. fn must not throw. Returns the
// number of parts.
template <class Fn>
std::size_t ParallelParts(std::size_t n, Fn&& fn)
{
    constexpr std::size_t kMinPerPart = 1 << 18;
    const std::size_t parts = std::clamp<std::size_t>(
        std::min<std::size_t>(UsableProcessors(), n / kMinPerPart), 1, kMaxParallelParts);
    const auto range = [n, parts](std::size_t part) {
        return std::pair<std::size_t, std::size_t>{n * part / parts, n * (part + 1) / parts};
    };
    std::vector<std::jthread> helpers;
    helpers.reserve(parts);
    std::size_t started = 1;
    for (; started < parts; ++started) {
        try {
            const auto [b, e] = range(started);
            helpers.emplace_back([&fn, b, e, started]() { fn(b, e, started); });
        } catch (const std::system_error&) {
            break;
        }
    }
    const auto [b0, e0] = range(0);
    fn(b0, e0, std::size_t{0});
    for (std::size_t part = started; part < parts; ++part) { // parts no thread took
        const auto [b, e] = range(part);
        fn(b, e, part);
    }
    helpers.clear(); // joins
    return parts;
}


#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tessara {

// The one way the project spreads work over threads.
//
// Worker counts are bounded by the processors this process may run on (its
// affinity mask, as under taskset) and by kMaxWorkers; tests set a count of their
// own. Every thread started is joined before the call returns, on every path, and
// an exception thrown in any share (the calling thread's included) reaches the
// caller once all are joined: the first one thrown wins.

inline constexpr std::size_t kMaxWorkers = 8;

//! Processors this process may run on, at least 1 (worked out once).
std::size_t UsableProcessors();
//! Workers a parallel pass may take: the count a test set, else the usable
//! processors, capped at kMaxWorkers; at least 1.
std::size_t WorkerCount();
//! Makes every later pass take `count` workers (0: back to the usable processors);
//! returns the previous setting. For tests and benchmarks.
std::size_t SetWorkerCount(std::size_t count);

//! Runs fn(part) for every part in [0, parts): part 0 on the calling thread, the
//! others on threads of their own (a thread that cannot be started leaves its
//! part to the calling thread).
template <class Fn>
void RunParts(std::size_t parts, Fn&& fn)
{
    if (parts == 0) return;
    std::mutex failureMutex;
    std::exception_ptr failure;
    const auto guarded = [&](std::size_t part) noexcept {
        try {
            fn(part);
        } catch (...) {
            const std::lock_guard lock(failureMutex);
            if (!failure) failure = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    std::size_t started = 1;
    try {
        threads.reserve(parts - 1);
        for (; started < parts; ++started) threads.emplace_back(guarded, started);
    } catch (const std::exception&) {
        // No more threads to be had (std::system_error, std::bad_alloc).
    }
    guarded(0);
    for (std::size_t part = started; part < parts; ++part) guarded(part);
    for (std::thread& thread : threads) thread.join();
    if (failure) std::rethrow_exception(failure);
}

//! Splits [0, n) into contiguous parts, one per worker but none smaller than
//! minPerPart, and runs fn(begin, end, part) on each. Returns the number of parts
//! (at most kMaxWorkers, at least 1).
template <class Fn>
std::size_t ParallelParts(std::size_t n, Fn&& fn, std::size_t minPerPart = std::size_t{1} << 18)
{
    const std::size_t parts =
        std::clamp<std::size_t>(std::min<std::size_t>(WorkerCount(), n / std::max<std::size_t>(minPerPart, 1)), 1,
                                kMaxWorkers);
    RunParts(parts, [&](std::size_t part) {
        const std::size_t begin = n * part / parts;
        const std::size_t end = n * (part + 1) / parts;
        fn(begin, end, part);
    });
    return parts;
}

} // namespace tessara

#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <new>
#include <optional>
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

//! Sets the worker count for its lifetime and restores the previous setting.
class WorkerCountScope {
public:
    explicit WorkerCountScope(std::size_t count) : m_previous(SetWorkerCount(count)) {}
    ~WorkerCountScope() { SetWorkerCount(m_previous); }
    WorkerCountScope(const WorkerCountScope&) = delete;
    WorkerCountScope& operator=(const WorkerCountScope&) = delete;

private:
    std::size_t m_previous;
};

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

//! Makes blocks [0, blocks) on every worker and hands each to write, one at a time
//! and in order: a long file made in parallel but written as one stream.
//! make(block, buffer) fills a buffer of bufferBytes and answers the bytes made, or
//! nullopt when the block cannot be made; write(block, data, bytes) answers false
//! on failure. A made block waits in its buffer until the blocks before it are
//! written; whichever worker finds the next block waiting writes it (and the ones
//! after it that wait), so no worker waits for another unless every buffer (two
//! more than the workers) is full. True when every block was made and written. When a block
//! fails, no block after it is written, and every block before it is still made
//! and written (a failure in a later block never hides one in an earlier block); an
//! exception in make or write counts as that block's failure.
template <class Make, class Write>
bool MakeInOrder(std::size_t blocks, std::size_t bufferBytes, Make&& make, Write&& write)
{
    using Buffer = std::unique_ptr<unsigned char[]>;
    struct Made {
        Buffer buffer;
        std::size_t bytes = 0;
    };
    const std::size_t workers = std::clamp<std::size_t>(WorkerCount(), 1, std::max<std::size_t>(blocks, 1));
    const std::size_t buffers = workers + 2;
    std::mutex mutex;   // guards everything below but next
    std::condition_variable bufferFree;
    std::vector<Buffer> spare;
    std::size_t bufferCount = 0;
    std::vector<std::optional<Made>> waiting(blocks);
    std::size_t turn = 0;            // the block to be written next
    bool writing = false;            // a worker is writing the waiting blocks
    std::size_t failedAt = blocks;   // the first block that failed, or blocks
    std::atomic<std::size_t> next{0};
    const auto fail = [&](std::size_t block) {
        failedAt = std::min(failedAt, block);
        bufferFree.notify_all();
    };
    // Writes the waiting blocks from the turn on while there are any; the lock is held on entry and exit.
    const auto writeWaiting = [&](std::unique_lock<std::mutex>& lock) {
        writing = true;
        while (turn < failedAt && waiting[turn]) {
            Made made = std::move(*waiting[turn]);
            waiting[turn].reset();
            const std::size_t block = turn;
            lock.unlock();
            bool written = false;
            try {
                written = write(block, static_cast<const unsigned char*>(made.buffer.get()), made.bytes);
            } catch (...) {
                written = false;
            }
            lock.lock();
            spare.push_back(std::move(made.buffer));
            bufferFree.notify_one();
            if (!written) {
                fail(block);
                break;
            }
            ++turn;
        }
        writing = false;
    };
    RunParts(workers, [&](std::size_t) {
        for (;;) {
            Buffer buffer;
            {
                std::unique_lock lock(mutex);
                bufferFree.wait(lock, [&] { return !spare.empty() || bufferCount < buffers || failedAt < blocks; });
                if (!spare.empty()) {
                    buffer = std::move(spare.back());
                    spare.pop_back();
                } else if (bufferCount < buffers) {
                    ++bufferCount;
                } else {
                    return;   // a block failed: every block before it is taken already
                }
            }
            if (!buffer) {
                try {
                    buffer = std::make_unique_for_overwrite<unsigned char[]>(bufferBytes);
                } catch (const std::bad_alloc&) {
                    const std::lock_guard lock(mutex);
                    --bufferCount;   // the others go on with the buffers there are
                    bufferFree.notify_all();
                    if (bufferCount == 0) fail(0);
                    return;
                }
            }
            const std::size_t block = next.fetch_add(1);
            std::optional<std::size_t> bytes;
            {
                const std::lock_guard lock(mutex);
                if (block >= failedAt) {
                    spare.push_back(std::move(buffer));
                    bufferFree.notify_one();
                    return;
                }
            }
            try {
                bytes = make(block, buffer.get());
            } catch (...) {
                bytes.reset();
            }
            std::unique_lock lock(mutex);
            if (!bytes) {
                spare.push_back(std::move(buffer));
                fail(block);
                return;
            }
            waiting[block] = Made{std::move(buffer), *bytes};
            if (!writing && block == turn) writeWaiting(lock);
        }
    });
    return failedAt == blocks && turn == blocks;
}

} // namespace tessara

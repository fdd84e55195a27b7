#pragma once

#include "platform/Parallel.h"

#include <condition_variable>
#include <cstddef>
#include <cstring>
#include <deque>
#include <mutex>
#include <type_traits>
#include <vector>

namespace tessara {

class BlockSink;
//! Runs produce(sink), which appends the file's bytes through sink.Append, while a
//! second thread passes each filled block to write(data, size) in order. True when
//! produce answered true and every write did; false (the rest unwritten) otherwise,
//! an exception in either counting as a failure.
template <class Produce, class Write>
bool WriteBehind(std::size_t blockBytes, Produce&& produce, Write&& write, std::size_t depth = 4);

// A long file written while it is being made: the producer fills blocks of a fixed
// size, a second thread (RunParts) writes them in the order filled. At most `depth`
// blocks exist at once, whatever the file's length; when all are waiting the producer
// writes the oldest itself, so it never waits on a writer that is slow to start or
// could not be started.
class BlockSink {
public:
    //! Room for `bytes` (at most the block size) at the end of the current block;
    //! the current block is handed on first when they do not fit.
    unsigned char* Append(std::size_t bytes)
    {
        if (m_used + bytes > m_current.size()) {
            Push();
        }
        unsigned char* at = m_current.data() + m_used;
        m_used += bytes;
        return at;
    }
    //! False once a write failed: the producer may stop early.
    bool Failed() const
    {
        const std::lock_guard lock(m_mutex);
        return m_failed;
    }

private:
    template <class Produce, class Write>
    friend bool WriteBehind(std::size_t blockBytes, Produce&& produce, Write&& write, std::size_t depth);

    struct Block {
        std::vector<unsigned char> bytes;
        std::size_t used = 0;
    };
    using WriteFn = bool (*)(void* context, const unsigned char* data, std::size_t size);

    BlockSink(std::size_t blockBytes, std::size_t depth, WriteFn write, void* context)
        : m_blockBytes(blockBytes), m_depth(depth < 2 ? 2 : depth), m_write(write), m_context(context)
    {
        m_current.resize(m_blockBytes);
        m_blocks = 1;
    }

    // Hands the current block to the writers and takes an empty one.
    void Push()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_queue.push_back(Block{std::move(m_current), m_used});
        }
        m_ready.notify_all();
        m_used = 0;
        for (;;) {
            {
                const std::lock_guard lock(m_mutex);
                if (!m_spare.empty()) {
                    m_current = std::move(m_spare.back());
                    m_spare.pop_back();
                    return;
                }
                if (m_blocks < m_depth) {
                    ++m_blocks;
                    break;
                }
            }
            WriteOldest();   // every block is waiting: write one here
        }
        m_current.assign(m_blockBytes, 0);
    }

    // Writes the oldest waiting block; false when none waits. One writer at a time,
    // so blocks reach the file in order.
    bool WriteOldest()
    {
        const std::lock_guard writing(m_writing);
        Block block;
        bool failed = false;
        {
            const std::lock_guard lock(m_mutex);
            if (m_queue.empty()) return false;
            block = std::move(m_queue.front());
            m_queue.pop_front();
            failed = m_failed;
        }
        bool ok = true;
        if (!failed && block.used > 0) {
            try {
                ok = m_write(m_context, block.bytes.data(), block.used);
            } catch (...) {
                ok = false;
            }
        }
        {
            const std::lock_guard lock(m_mutex);
            if (!ok) m_failed = true;
            m_spare.push_back(std::move(block.bytes));
        }
        return true;
    }

    // The second thread: writes blocks as they come until the producer has finished
    // and nothing waits.
    void WriteUntilFinished()
    {
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_ready.wait(lock, [&] { return !m_queue.empty() || m_finished; });
                if (m_queue.empty()) return;
            }
            WriteOldest();
        }
    }

    void Finish(bool produced)
    {
        {
            const std::lock_guard lock(m_mutex);
            if (!produced) m_failed = true;
            m_queue.push_back(Block{std::move(m_current), m_used});
            m_finished = true;
        }
        m_ready.notify_all();
    }

    const std::size_t m_blockBytes;
    const std::size_t m_depth;
    const WriteFn m_write;
    void* const m_context;
    std::vector<unsigned char> m_current;
    std::size_t m_used = 0;
    std::size_t m_blocks = 0;   // blocks made so far, at most m_depth

    mutable std::mutex m_mutex;   // guards what follows
    std::condition_variable m_ready;
    std::deque<Block> m_queue;
    std::vector<std::vector<unsigned char>> m_spare;
    bool m_finished = false;
    bool m_failed = false;
    std::mutex m_writing;
};

template <class Produce, class Write>
bool WriteBehind(std::size_t blockBytes, Produce&& produce, Write&& write, std::size_t depth)
{
    auto* context = static_cast<void*>(&write);
    BlockSink sink(blockBytes, depth, [](void* c, const unsigned char* data, std::size_t size) -> bool {
        return (*static_cast<std::remove_reference_t<Write>*>(c))(data, size);
    }, context);
    RunParts(2, [&](std::size_t part) {
        if (part == 1) {
            sink.WriteUntilFinished();
            return;
        }
        bool produced = false;
        try {
            produced = produce(sink);
        } catch (...) {
            produced = false;
        }
        sink.Finish(produced);
    });
    // A writer that could not start leaves its part to this thread after the
    // producer's (RunParts), so everything is written by now.
    return !sink.Failed();
}

} // namespace tessara

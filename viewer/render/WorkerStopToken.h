#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

// The stop request the view hands its pipe-server worker. The worker polls
// StopRequested() between records, and registers an interrupt (closing the pipe
// it blocks in) so that a Connect or a send it is blocked in returns at once.
class WorkerStopToken {
public:
    //! Sets the stop flag, runs the registered interrupt and wakes WaitForStop.
    void RequestStop();
    bool StopRequested() const { return m_stop.load(std::memory_order_acquire); }
    //! Blocks until the stop is requested.
    void WaitForStop();
    //! Blocks up to timeout; true when the stop was requested.
    bool WaitForStopFor(std::chrono::milliseconds timeout);
    //! The worker's interrupt for blocking calls; runs at once when the stop was
    //! requested already. An empty function removes it.
    void SetInterrupt(std::function<void()> interrupt);
    //! Clears the flag for a new worker run.
    void Reset();

private:
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::function<void()> m_interrupt;
};

#include "viewer/render/WorkerStopToken.h"

#include <utility>

void WorkerStopToken::RequestStop()
{
    std::function<void()> interrupt;
    {
        std::lock_guard lock(m_mutex);
        m_stop.store(true, std::memory_order_release);
        interrupt = m_interrupt;
    }
    m_wake.notify_all();
    if (interrupt) interrupt();
}

void WorkerStopToken::WaitForStop()
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return StopRequested(); });
}

bool WorkerStopToken::WaitForStopFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_wake.wait_for(lock, timeout, [this] { return StopRequested(); });
}

void WorkerStopToken::SetInterrupt(std::function<void()> interrupt)
{
    bool runNow = false;
    {
        std::lock_guard lock(m_mutex);
        m_interrupt = std::move(interrupt);
        runNow = StopRequested() && m_interrupt;
    }
    if (runNow) m_interrupt();
}

void WorkerStopToken::Reset()
{
    std::lock_guard lock(m_mutex);
    m_stop.store(false, std::memory_order_release);
}

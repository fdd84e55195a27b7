#include "viewer/dialogs/LegendThrottle.h"

#include <utility>

#include "viewer/render/FrameClock.h"

LegendThrottle::LegendThrottle(std::shared_ptr<FrameClock> clock)
{
    SetClock(std::move(clock));
}

void LegendThrottle::SetClock(std::shared_ptr<FrameClock> clock)
{
    m_clock = clock ? std::move(clock) : std::make_shared<SteadyFrameClock>();
}

bool LegendThrottle::Request(std::function<void()> create)
{
    const std::int64_t now = m_clock->NowMs();
    if (m_createdOnce && now - m_lastCreatedMs < kWindowMs) {
        m_pending = std::move(create);
        return false;
    }
    m_pending = nullptr;
    m_lastCreatedMs = now;
    m_createdOnce = true;
    if (create) create();
    return true;
}

std::int64_t LegendThrottle::PendingDueInMs() const
{
    if (!m_pending) return -1;
    const std::int64_t left = m_lastCreatedMs + kWindowMs - m_clock->NowMs();
    return left > 0 ? left : 0;
}

bool LegendThrottle::RunDue()
{
    if (!m_pending || PendingDueInMs() > 0) return false;
    std::function<void()> create = std::move(m_pending);
    m_pending = nullptr;
    m_lastCreatedMs = m_clock->NowMs();
    create();
    return true;
}

void LegendThrottle::Cancel()
{
    m_pending = nullptr;
}

#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class FrameClock;

// Keeps one legend slot from being re-created more than once in 100 ms. A
// request inside that window does not close the open legend: it is kept, with
// the latest arguments, and runs once when the window ends (the slot's timer
// calls RunDue then). Closing the slot cancels what is pending.
class LegendThrottle {
public:
    static constexpr std::int64_t kWindowMs = 100;

    //! Reads the time from clock (the steady clock when null).
    explicit LegendThrottle(std::shared_ptr<FrameClock> clock = nullptr);

    //! Runs create now when the window is over and answers true; otherwise keeps
    //! it in place of any earlier pending one and answers false.
    bool Request(std::function<void()> create);
    //! Milliseconds until the pending re-creation is due (0: due now), -1 when
    //! nothing is pending.
    std::int64_t PendingDueInMs() const;
    //! Runs the pending re-creation when its time has come; true when it ran.
    bool RunDue();
    //! Forgets the pending re-creation.
    void Cancel();
    //! The clock (for a test that changes it).
    void SetClock(std::shared_ptr<FrameClock> clock);

private:
    std::shared_ptr<FrameClock> m_clock;
    std::function<void()> m_pending;
    std::int64_t m_lastCreatedMs = 0;
    bool m_createdOnce = false;
};

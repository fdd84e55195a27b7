#pragma once

#include <cstdint>
#include <memory>

// Where the view reads how long a scene frame took; the adaptive detail level
// follows those readings. The real clock is the default; tests give a view a
// clock whose readings they state, so the detail rule does not depend on how
// fast or busy the machine is.
class FrameClock {
public:
    virtual ~FrameClock() = default;
    //! Milliseconds on a monotonic scale.
    virtual std::int64_t NowMs() = 0;
};

//! The monotonic system clock.
class SteadyFrameClock final : public FrameClock {
public:
    std::int64_t NowMs() override;
};

//! Every reading lies a set step after the one before, so a frame measured with it
//! takes exactly that step (0: every frame is instant, the view keeps full detail).
class SteppingFrameClock final : public FrameClock {
public:
    explicit SteppingFrameClock(std::int64_t stepMs = 0) : m_stepMs(stepMs) {}
    void SetStepMs(std::int64_t stepMs) { m_stepMs = stepMs; }
    std::int64_t NowMs() override { return m_nowMs += m_stepMs; }

private:
    std::int64_t m_stepMs;
    std::int64_t m_nowMs = 0;
};

//! The clock views made from now on start with (the steady clock unless set).
std::shared_ptr<FrameClock> DefaultFrameClock();
//! Replaces it (null restores the steady clock); returns the previous one.
std::shared_ptr<FrameClock> SetDefaultFrameClock(std::shared_ptr<FrameClock> clock);

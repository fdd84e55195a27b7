#pragma once

#include <cstdint>

// The adaptive detail level and the timer-driven refinement that follows a frame
// drawn at reduced detail: level L gives L steps (counter L-1 .. 0), and the
// picture is presented at counters that are multiples of 20 and at 0.
class RefinementSchedule {
public:
    struct Step {
        bool render = false;    // re-render the point layers for this counter
        bool present = false;   // recomposite and show the picture after it
    };

    //! Detail level after a frame of frameMs drawn at level (0 full .. 99 coarsest).
    static int NextDetailLevel(int level, std::int64_t frameMs);

    //! Arms the refinement after a frame drawn at level; level 0 arms nothing.
    void Start(int level);
    //! Abandons a running refinement (a new scene frame, or the view lock was held).
    void Cancel();
    //! One step: decrements the counter and says what to draw.
    Step Next();
    //! True while the timer should run another step.
    bool ShouldContinue() const { return m_active && m_counter > 0; }

    bool Active() const { return m_active; }
    int Counter() const { return m_counter; }

private:
    int m_counter = 0;
    bool m_active = false;
    bool m_firstStep = false;
};

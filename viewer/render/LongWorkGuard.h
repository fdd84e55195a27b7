#pragma once

// Marks long work (a file save, a load, a filter) for as long as it lives, on any
// thread, so that the frame refuses to close while the work could still return
// into a view that closing would free.
class LongWorkGuard {
public:
    enum class Kind { Saving, Other };

    explicit LongWorkGuard(Kind kind);
    ~LongWorkGuard();
    LongWorkGuard(const LongWorkGuard&) = delete;
    LongWorkGuard& operator=(const LongWorkGuard&) = delete;

    //! True while a save guard lives.
    static bool SavingInProgress();
    //! True while any other long-work guard lives.
    static bool OtherWorkInProgress();

private:
    Kind m_kind;
};

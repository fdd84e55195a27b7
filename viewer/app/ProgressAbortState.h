#pragma once

#include <atomic>
#include <functional>

// The abort protocol between the frame and long work. The flags are cleared when
// a progress display starts (hidden to shown) and when it ends, and a Yes to the
// abort question counts only while the work that was running when it was asked
// still runs, so a late answer never stops the next piece of work.
class ProgressAbortState {
public:
    static constexpr int kContinue = 0;
    static constexpr int kPromptOpen = -1;
    static constexpr int kAbortRequested = -2;

    //! A progress display became visible: a new piece of work runs.
    void OnProgressShown();
    //! The progress display ended (finished, cancelled or reset).
    void OnProgressEnded();
    bool WorkRunning() const { return m_running.load(std::memory_order_acquire); }

    //! What the work does next: -2 stop, -1 wait (the question is open), 0 go on.
    int Poll() const;
    //! Runs the question (answers IDYES or anything else) with the prompt flag set.
    void AskAbort(const std::function<int()>& ask);

    int PromptOpen() const { return m_promptOpen.load(std::memory_order_acquire); }
    int AbortRequested() const { return m_abortRequested.load(std::memory_order_acquire); }

private:
    std::atomic<int> m_promptOpen{0};
    std::atomic<int> m_abortRequested{0};
    std::atomic<bool> m_running{false};
    std::atomic<unsigned> m_run{0};
};

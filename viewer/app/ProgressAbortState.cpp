#include "viewer/app/ProgressAbortState.h"

#include "platform/MessageBoxService.h"

void ProgressAbortState::OnProgressShown()
{
    m_run.fetch_add(1, std::memory_order_acq_rel);
    m_promptOpen.store(0, std::memory_order_release);
    m_abortRequested.store(0, std::memory_order_release);
    m_running.store(true, std::memory_order_release);
}

void ProgressAbortState::OnProgressEnded()
{
    m_running.store(false, std::memory_order_release);
    m_promptOpen.store(0, std::memory_order_release);
    m_abortRequested.store(0, std::memory_order_release);
}

int ProgressAbortState::Poll() const
{
    if (m_abortRequested.load(std::memory_order_acquire) != 0) return kAbortRequested;
    if (m_promptOpen.load(std::memory_order_acquire) != 0) return kPromptOpen;
    return kContinue;
}

void ProgressAbortState::AskAbort(const std::function<int()>& ask)
{
    const unsigned askedDuring = m_run.load(std::memory_order_acquire);
    const bool wasRunning = WorkRunning();
    m_promptOpen.store(1, std::memory_order_release);
    const int answer = ask();
    m_promptOpen.store(0, std::memory_order_release);
    const bool sameWork = wasRunning && WorkRunning() && m_run.load(std::memory_order_acquire) == askedDuring;
    if (answer == tessara::IDYES && sameWork) m_abortRequested.store(1, std::memory_order_release);
}

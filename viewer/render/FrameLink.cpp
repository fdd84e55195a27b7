#include "viewer/render/FrameLink.h"

#include <atomic>

namespace {

// Read by workers reporting progress, written by the UI thread.
std::atomic<FrameLink*> g_mainFrame{nullptr};

} // namespace

FrameLink* FrameLink::Main()
{
    return g_mainFrame.load(std::memory_order_acquire);
}

void FrameLink::SetMain(FrameLink* frame)
{
    g_mainFrame.store(frame, std::memory_order_release);
}

void FrameLink::Leave(const FrameLink* frame)
{
    FrameLink* expected = const_cast<FrameLink*>(frame);
    g_mainFrame.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
}

#include "viewer/render/FrameClock.h"

#include <chrono>
#include <mutex>
#include <utility>

std::int64_t SteadyFrameClock::NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

namespace {

std::mutex g_defaultMutex;
std::shared_ptr<FrameClock>& DefaultSlot()
{
    static std::shared_ptr<FrameClock> clock = std::make_shared<SteadyFrameClock>();
    return clock;
}

} // namespace

std::shared_ptr<FrameClock> DefaultFrameClock()
{
    std::lock_guard lock(g_defaultMutex);
    return DefaultSlot();
}

std::shared_ptr<FrameClock> SetDefaultFrameClock(std::shared_ptr<FrameClock> clock)
{
    if (!clock) clock = std::make_shared<SteadyFrameClock>();
    std::lock_guard lock(g_defaultMutex);
    return std::exchange(DefaultSlot(), std::move(clock));
}

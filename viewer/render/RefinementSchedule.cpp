#include "viewer/render/RefinementSchedule.h"

#include <algorithm>

int RefinementSchedule::NextDetailLevel(int level, std::int64_t frameMs)
{
    int next = level;
    if (frameMs > 300) {
        next = 99;
    } else if (frameMs > 100) {
        next = level + (99 - level) / 2;
    } else if (frameMs >= 50) {
        next = level;
    } else if (frameMs >= 10) {
        next = level - 5;
    } else {
        next = level - 15;
    }
    return std::clamp(next, 0, 99);
}

void RefinementSchedule::Start(int level)
{
    if (level <= 0) return;
    m_counter = level;
    m_active = true;
    m_firstStep = true;
}

void RefinementSchedule::Cancel()
{
    m_active = false;
    m_firstStep = false;
}

RefinementSchedule::Step RefinementSchedule::Next()
{
    if (m_firstStep) {
        m_active = true;
        m_firstStep = false;
    }
    --m_counter;
    if (m_counter < 0) {
        m_counter = 0;
        return {};
    }
    return {true, m_counter == 0 || m_counter % 20 == 0};
}

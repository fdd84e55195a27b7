#include "viewer/render/LongWorkGuard.h"

#include <atomic>

namespace {
std::atomic<int> g_saving{0};
std::atomic<int> g_other{0};

std::atomic<int>& CounterOf(LongWorkGuard::Kind kind)
{
    return kind == LongWorkGuard::Kind::Saving ? g_saving : g_other;
}
}  // namespace

LongWorkGuard::LongWorkGuard(Kind kind) : m_kind(kind)
{
    CounterOf(m_kind).fetch_add(1, std::memory_order_acq_rel);
}

LongWorkGuard::~LongWorkGuard()
{
    CounterOf(m_kind).fetch_sub(1, std::memory_order_acq_rel);
}

bool LongWorkGuard::SavingInProgress()
{
    return g_saving.load(std::memory_order_acquire) > 0;
}

bool LongWorkGuard::OtherWorkInProgress()
{
    return g_other.load(std::memory_order_acquire) > 0;
}

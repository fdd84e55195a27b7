#include "hostfw/gnss/KjnXyda_Nt.h"

#include <atomic>

namespace {
// Zone 9 until the host states the survey's zone.
std::atomic<int> g_currentZone{9};
}  // namespace

KjnXyda_Nt::KjnXyda_Nt() : m_zone(g_currentZone.load()) {}

KjnXyda_Nt::~KjnXyda_Nt() = default;

int KjnXyda_Nt::GetZno() const
{
    return m_zone;
}

void KjnXyda_Nt::SetCurrentZone(int zone)
{
    g_currentZone.store(zone);
}

int KjnXyda_Nt::CurrentZone()
{
    return g_currentZone.load();
}

#include "hostfw/EraCalendar.h"

#include <atomic>

namespace {

std::atomic<bool> g_gannen{true};

struct EraStart {
    int kind;
    int year;
    int month;
};

// Newest first. An era is taken to start in the month of its change.
constexpr EraStart kEras[] = {
    {5, 2019, 5}, {4, 1989, 1}, {3, 1926, 12}, {2, 1912, 7}, {1, 1868, 1},
};

} // namespace

int ChangeAdToGengo(int year, int month, int& kind, int& eraYear)
{
    for (const EraStart& era : kEras) {
        if (year > era.year || (year == era.year && month >= era.month)) {
            kind = era.kind;
            eraYear = year - era.year + 1;
            return 1;
        }
    }
    kind = 0;
    eraYear = 0;
    return 0;
}

std::string GetGengoName(int kind)
{
    switch (kind) {
    case 1: return "明治";
    case 2: return "大正";
    case 3: return "昭和";
    case 4: return "平成";
    case 5: return "令和";
    default: return {};
    }
}

BOOL IsGannen()
{
    return g_gannen.load() ? 1 : 0;
}

void SetGannen(bool gannen)
{
    g_gannen = gannen;
}

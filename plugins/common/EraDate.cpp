#include "plugins/common/EraDate.h"

#include "hostfw/EraCalendar.h"

#include <mutex>

namespace plugcommon {

namespace {

std::mutex g_mutex;
EraClock g_clock;

std::optional<std::tm> LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || !localtime_r(&now, &local))
        return std::nullopt;
    return local;
}

std::string WesternDate(int year, int month, int day)
{
    return std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日";
}

} // namespace

int AdYearToEraYear(int year, int month, int& eraIndex, int& eraYear)
{
    if (year <= 1867)
        return 0;
    if (year <= 1911) {
        eraIndex = 0;
        eraYear = year - 1867;
    } else if (year <= 1925) {
        eraIndex = 1;
        eraYear = year - 1911;
    } else if (year <= 1988) {
        eraIndex = 2;
        eraYear = year - 1925;
    } else {
        int kind = 0;
        if (!ChangeAdToGengo(year, month, kind, eraYear))
            return 0;
        eraIndex = kind - 1;
    }
    return 1;
}

std::string FormatEraDate(int year, int month, int day)
{
    int eraIndex = -1;
    int eraYear = 0;
    if (!AdYearToEraYear(year, month, eraIndex, eraYear))
        return WesternDate(year, month, day);
    std::string yearText = std::to_string(eraYear);
    if (eraYear == 1 && (eraIndex != 4 || IsGannen()))
        yearText = "元";
    const std::string rest = yearText + "年" + std::to_string(month) + "月" + std::to_string(day) + "日";
    switch (eraIndex) {
    case 0: return "明治" + rest;
    case 1: return "大正" + rest;
    case 2: return "昭和" + rest;
    case 3: return "平成" + rest;
    case 4: return GetGengoName(5) + rest;
    default: return WesternDate(year, month, day);
    }
}

std::string FormatTodayEraDate()
{
    EraClock clock;
    {
        std::lock_guard lock(g_mutex);
        clock = g_clock;
    }
    const std::optional<std::tm> today = clock ? clock() : LocalNow();
    if (!today)
        return {};
    return FormatEraDate(today->tm_year + 1900, today->tm_mon + 1, today->tm_mday);
}

void SetEraClock(EraClock clock)
{
    std::lock_guard lock(g_mutex);
    g_clock = std::move(clock);
}

} // namespace plugcommon

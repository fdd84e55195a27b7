#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace plugcommon {

// Today's date as Japanese-era text ("平成元年1月8日", "令和6年3月1日"); "" when the local
// time cannot be had.
std::string FormatTodayEraDate();
// The era text of a given date (what FormatTodayEraDate formats).
std::string FormatEraDate(int year, int month, int day);
// 1 and the era index (0 明治 ... 4 the host's newest era) and era year; 0 up to 1867.
int AdYearToEraYear(int year, int month, int& eraIndex, int& eraYear);

// The clock FormatTodayEraDate reads; tests set a fixed date or a failing clock.
using EraClock = std::function<std::optional<std::tm>()>;
void SetEraClock(EraClock clock);   // empty: the local time

} // namespace plugcommon

#pragma once

#include "hostfw/HostTypes.h"

#include <string>

// The host's Japanese era calendar, by year and month (an era is taken to start in the
// month of its change). Era kinds: 1 明治, 2 大正, 3 昭和, 4 平成, 5 令和.
// ChangeAdToGengo answers non-zero on success, 0 for a year before 1868.
HOSTFW_API int ChangeAdToGengo(int year, int month, int& kind, int& eraYear);
HOSTFW_API std::string GetGengoName(int kind);   // "" for an unknown kind
// Whether the first year of the newest era is written "元". Settable for tests.
HOSTFW_API BOOL IsGannen();
HOSTFW_API void SetGannen(bool gannen);

#pragma once

#include <string>

namespace plugcommon {

// Printed values of the quality tables follow the project's decimal-safe rounding
// (half up on the magnitude of the shortest decimal text of the double).

// v × 10^places computed on the decimal text, so 0.0145 m × 1000 is 14.5 mm exactly
// and not the 14.499999… a binary product gives.
double ScaleByPowerOfTen(double v, int places);

// A value rounded half up to the decimals, printed as an absolute value.
std::string FormatMeasured(double v, int decimals);

// A limit or tolerance rounded half up to the decimals (sign kept).
std::string FormatRoundedValue(double v, int decimals);

} // namespace plugcommon

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessara {

// How RoundDecimal treats the digits beyond the kept decimals.
enum class RoundMode {
    HalfUp,    // half away from zero: 2.45 -> 2.5, -2.45 -> -2.5
    Floor,     // toward minus infinity: 2.49 -> 2.4, -2.41 -> -2.5
};

// The project's one rounding rule. The value is first written as the shortest
// decimal text that reads back as the same double, and that decimal text is
// rounded, so 0.0145 at 3 decimals gives 0.015 although the double lies below it.
// Negative decimals round to tens, hundreds, ... Non-finite values pass unchanged.
double RoundDecimal(double v, int decimals, RoundMode mode = RoundMode::HalfUp);

// Fixed-point text with exactly max(decimals, 0) decimals, rounded by the same rule,
// in the C locale ('.' separator, no grouping). Zero never carries a minus sign.
// Non-finite values give "nan", "inf" or "-inf".
std::string FormatFixed(double v, int decimals, RoundMode mode = RoundMode::HalfUp);

// The shortest text that reads back as exactly v ("0.1", "1e-07", "-2.45").
std::string ShortestText(double v);

// Locale-independent parsing. Leading and trailing blanks are allowed, and a leading
// '+'; anything else left over, an empty text, a value out of range or a non-finite
// value gives nullopt.
std::optional<double> ParseDouble(std::string_view text);
std::optional<int> ParseInt(std::string_view text);
std::optional<std::int64_t> ParseInt64(std::string_view text);

} // namespace tessara

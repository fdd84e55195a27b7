#pragma once

#include <optional>
#include <string>
#include <string_view>

// The one reading and writing of the numbers the viewer's edit fields show,
// always in the C locale whatever the user's locale says. A text is a number
// only when it is wholly one: optional blanks, an optional sign, digits with at
// most one point (decimals only), optional blanks. No exponent, hex, "inf" or
// "nan"; empty text or an integer that overflows is no number either, so the
// caller keeps its old value instead of taking 0.
class NumberText {
public:
    static std::optional<long long> ParseInteger(std::string_view text);
    static std::optional<double> ParseDecimal(std::string_view text);
    static std::string FormatInteger(long long value);
    //! Fixed notation with exactly `decimals` digits after the point (0.5, 2 -> "0.50").
    static std::string FormatDecimal(double value, int decimals);
};

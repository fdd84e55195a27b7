#include "platform/Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace tessara {
namespace {

// |v| as decimal digits d0 d1 d2 ... with v = 0.d0d1d2... x 10^(exponent + 1),
// taken from the shortest round-trip text.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

DecimalDigits ShortestDigits(double magnitude)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), magnitude,
                                      std::chars_format::scientific);
    const std::string_view text(buffer, result.ptr - buffer);
    const std::size_t e = text.find('e');
    DecimalDigits out;
    for (const char c : text.substr(0, e)) {
        if (c != '.') {
            out.digits.push_back(c);
        }
    }
    std::string_view exponentText = text.substr(e + 1);
    if (!exponentText.empty() && exponentText.front() == '+') {
        exponentText.remove_prefix(1);
    }
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(),
                    out.exponent);
    return out;
}

// Adds one to a string of decimal digits.
void IncrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// |v| x 10^decimals rounded to an integer by the rule, as decimal digits without
// leading zeros ("" for zero).
std::string ScaledRoundedDigits(double v, int decimals, RoundMode mode)
{
    const bool negative = std::signbit(v);
    const DecimalDigits d = ShortestDigits(std::fabs(v));
    if (d.digits == "0") {
        return {};
    }
    // Digits with index < keep have place value >= 10^-decimals.
    const long keep = static_cast<long>(d.exponent) + decimals + 1;
    std::string kept;
    bool roundUp = false;
    if (keep <= 0) {
        const bool dropsHalf = keep == 0 && d.digits.front() >= '5';
        roundUp = mode == RoundMode::HalfUp ? dropsHalf : negative;
    } else {
        const auto keepCount = static_cast<std::size_t>(keep);
        kept = d.digits.substr(0, keepCount);
        if (kept.size() < keepCount) {
            kept.append(keepCount - kept.size(), '0');
        }
        if (keepCount < d.digits.size()) {
            const bool dropsHalf = d.digits[keepCount] >= '5';
            const bool dropsAny = d.digits.find_first_not_of('0', keepCount) != std::string::npos;
            roundUp = mode == RoundMode::HalfUp ? dropsHalf : (negative && dropsAny);
        }
    }
    if (roundUp) {
        IncrementDigits(kept);
    }
    const std::size_t firstNonZero = kept.find_first_not_of('0');
    return firstNonZero == std::string::npos ? std::string() : kept.substr(firstNonZero);
}

// The number text without surrounding blanks and without a leading '+' (which
// from_chars does not take); nullopt when nothing is left or "+-" follows.
std::optional<std::string_view> NumberText(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') {
            return std::nullopt;
        }
    }
    return text;
}

template <typename Int>
std::optional<Int> ParseInteger(std::string_view raw)
{
    const auto text = NumberText(raw);
    if (!text) {
        return std::nullopt;
    }
    Int value{};
    const auto result = std::from_chars(text->data(), text->data() + text->size(), value);
    if (result.ec != std::errc() || result.ptr != text->data() + text->size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string FormatFixed(double v, int decimals, RoundMode mode)
{
    if (std::isnan(v)) {
        return "nan";
    }
    if (std::isinf(v)) {
        return v < 0 ? "-inf" : "inf";
    }
    std::string digits = ScaledRoundedDigits(v, decimals, mode);
    if (digits.empty()) {
        return decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
    }
    std::string text = std::signbit(v) ? "-" : "";
    if (decimals <= 0) {
        return text + digits + std::string(static_cast<std::size_t>(-decimals), '0');
    }
    const auto places = static_cast<std::size_t>(decimals);
    if (digits.size() <= places) {
        digits.insert(0, places + 1 - digits.size(), '0');
    }
    text += digits.substr(0, digits.size() - places);
    text += '.';
    text += digits.substr(digits.size() - places);
    return text;
}

double RoundDecimal(double v, int decimals, RoundMode mode)
{
    if (!std::isfinite(v)) {
        return v;
    }
    const std::string text = FormatFixed(v, decimals, mode);
    double rounded = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), rounded);
    if (result.ec != std::errc()) {
        return v;    // only when rounding carries past the largest double
    }
    return rounded;
}

std::string ShortestText(double v)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), v);
    return std::string(buffer, result.ptr);
}

std::optional<double> ParseDouble(std::string_view raw)
{
    const auto text = NumberText(raw);
    if (!text) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto result = std::from_chars(text->data(), text->data() + text->size(), value);
    if (result.ec != std::errc() || result.ptr != text->data() + text->size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ParseInt(std::string_view text)
{
    return ParseInteger<int>(text);
}

std::optional<std::int64_t> ParseInt64(std::string_view text)
{
    return ParseInteger<std::int64_t>(text);
}

} // namespace tessara

#include "viewer/dialogs/NumberText.h"

#include "platform/Numbers.h"

#include <cctype>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// True when text is a sign, then digits with at most `maxPoints` points, and at
// least one digit.
bool HasNumberShape(std::string_view text, int maxPoints)
{
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    int digits = 0;
    int points = 0;
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)))
            ++digits;
        else if (c == '.' && ++points <= maxPoints)
            continue;
        else
            return false;
    }
    return digits > 0;
}

} // namespace

std::optional<long long> NumberText::ParseInteger(std::string_view text)
{
    text = TrimBlanks(text);
    if (!HasNumberShape(text, 0))
        return std::nullopt;
    if (text.front() == '+')
        text.remove_prefix(1);
    const auto value = tessara::ParseInt64(text);
    if (!value)
        return std::nullopt;
    return static_cast<long long>(*value);
}

std::optional<double> NumberText::ParseDecimal(std::string_view text)
{
    text = TrimBlanks(text);
    if (!HasNumberShape(text, 1))
        return std::nullopt;
    std::string plain;
    if (text.front() == '+' || text.front() == '-') {
        if (text.front() == '-')
            plain = "-";
        text.remove_prefix(1);
    }
    // "5." and ".5" are numbers to a surveyor; give the parser its digits.
    if (text.front() == '.')
        plain += '0';
    plain += text;
    if (text.back() == '.')
        plain += '0';
    return tessara::ParseDouble(plain);
}

std::string NumberText::FormatInteger(long long value)
{
    return std::to_string(value);
}

std::string NumberText::FormatDecimal(double value, int decimals)
{
    return tessara::FormatFixed(value, decimals);
}

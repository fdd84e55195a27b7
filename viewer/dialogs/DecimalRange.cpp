#include "viewer/dialogs/DecimalRange.h"

#include "platform/Numbers.h"
#include "viewer/dialogs/NumberText.h"

bool DecimalRange::TakeText(std::string_view text, double& value) const
{
    const auto parsed = NumberText::ParseDecimal(text);
    if (!parsed || !Contains(*parsed))
        return false;
    value = *parsed;
    return true;
}

bool DecimalRange::Step(double& value, double delta) const
{
    const double next = tessara::RoundDecimal(value + delta, m_decimals);
    if (!Contains(next))
        return false;
    value = next;
    return true;
}

std::string DecimalRange::Format(double value) const
{
    return NumberText::FormatDecimal(value, m_decimals);
}

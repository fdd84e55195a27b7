#include "viewer/dialogs/IntRange.h"

#include "viewer/dialogs/NumberText.h"

bool IntRange::TakeText(std::string_view text, int& value) const
{
    const auto parsed = NumberText::ParseInteger(text);
    if (!parsed || !Contains(*parsed))
        return false;
    value = static_cast<int>(*parsed);
    return true;
}

bool IntRange::Step(int& value, int delta) const
{
    const long long next = static_cast<long long>(value) + delta;
    if (!Contains(next))
        return false;
    value = static_cast<int>(next);
    return true;
}

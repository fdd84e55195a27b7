#pragma once

#include <string_view>

// The range of an integer edit field and what its text and arrows may change:
// a value is taken only when it is a whole number inside [min, max].
class IntRange {
public:
    IntRange() = default;
    IntRange(int min, int max) : m_min(min), m_max(max) {}

    bool Contains(long long value) const { return value >= m_min && value <= m_max; }
    //! Takes the text into value when it is a number in range; false keeps value.
    bool TakeText(std::string_view text, int& value) const;
    //! value + delta when that lies in range; false keeps value.
    bool Step(int& value, int delta) const;

    int Min() const { return m_min; }
    int Max() const { return m_max; }

private:
    int m_min = 0;
    int m_max = 100;
};

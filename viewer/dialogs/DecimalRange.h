#pragma once

#include <string>
#include <string_view>

// The range and decimals of a decimal edit field. Arrow steps are rounded to
// the field's decimals before the range test, so repeated steps of 0.1 never
// drift off the grid the field shows (0.11 - 0.1 is 0.01, not 0.00999...).
class DecimalRange {
public:
    DecimalRange() = default;
    DecimalRange(double min, double max, int decimals) : m_min(min), m_max(max), m_decimals(decimals) {}

    bool Contains(double value) const { return value >= m_min && value <= m_max; }
    //! Takes the text into value when it is a number in range; false keeps value.
    bool TakeText(std::string_view text, double& value) const;
    //! value + delta rounded to the decimals, taken when in range; false keeps value.
    bool Step(double& value, double delta) const;
    std::string Format(double value) const;

    double Min() const { return m_min; }
    double Max() const { return m_max; }
    int Decimals() const { return m_decimals; }

private:
    double m_min = 0.0;
    double m_max = 100.0;
    int m_decimals = 3;
};

#pragma once

#include "plugins/gnss/GnssQuantities.h"
#include "plugins/gnss/GnssTexts.h"

#include <array>

namespace mod04827 {

// Builds the positional-accuracy texts from the grade's limits and the collected
// quantities. A switch that is non-zero (manual) leaves its text empty. Every value
// is printed through the decimal-safe half-up rule, never through printf rounding.
class GnssTextBuilder {
public:
    GnssTextBuilder(int surveyKind, const std::array<short, 5>& switches, const GnssLimits& limits,
                    const GnssQuantities& quantities);

    GnssTexts Build() const;

private:
    void BuildControl(GnssTexts& out) const;
    void BuildElevation(GnssTexts& out) const;
    void BuildLevelling(GnssTexts& out) const;
    void AddHalfAndKnownResults(GnssTexts& out) const;
    void AddSlopeResult(GnssTexts& out) const;
    bool Manual(int switchNumber) const { return m_switches[switchNumber - 1] != 0; }

    int m_kind;
    std::array<short, 5> m_switches;
    const GnssLimits& m_limits;
    const GnssQuantities& m_q;
};

// Fills "%d" and "%s" placeholders in order with the given texts.
std::string FillPattern(std::string_view pattern, std::initializer_list<std::string> values);

// The largest closure by absolute value after the known-point rounding rule
// (within ±0.0005 m counts as 0, rounded to 4 decimals twice); unset values skipped.
PresentValue LargestClosure(const std::vector<double>& closures);

}  // namespace mod04827

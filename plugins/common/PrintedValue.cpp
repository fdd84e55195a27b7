#include "plugins/common/PrintedValue.h"

#include <cmath>

#include "platform/Numbers.h"

namespace plugcommon {

double ScaleByPowerOfTen(double v, int places)
{
    if (!std::isfinite(v) || v == 0.0)
        return v;
    std::string mantissa = tessara::ShortestText(v);
    int exponent = places;
    if (const auto e = mantissa.find_first_of("eE"); e != std::string::npos) {
        exponent += tessara::ParseInt(std::string_view(mantissa).substr(e + 1)).value_or(0);
        mantissa.resize(e);
    }
    const auto scaled = tessara::ParseDouble(mantissa + "e" + std::to_string(exponent));
    return scaled ? *scaled : v * std::pow(10.0, places);
}

std::string FormatMeasured(double v, int decimals)
{
    return tessara::FormatFixed(std::fabs(v), decimals);
}

std::string FormatRoundedValue(double v, int decimals)
{
    return tessara::FormatFixed(v, decimals);
}

} // namespace plugcommon

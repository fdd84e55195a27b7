#include "hostfw/ctrlpoint/DmsAngles.h"

#include <cmath>
#include <cstdint>
#include <numbers>

#include "platform/Numbers.h"

namespace {

constexpr double kSecondsPerCircle = 1296000.0;
constexpr double kSecondsHalfCircle = 648000.0;

} // namespace

double DMS_ToSec(double dms)
{
    if (!std::isfinite(dms))
        return 0.0;
    // Work on the decimal digits of the field-book form: 1e-4 seconds resolution.
    const double magnitude = tessara::RoundDecimal(std::fabs(dms), 8);
    const auto scaled = static_cast<std::int64_t>(std::llround(magnitude * 1e8));
    const std::int64_t degrees = scaled / 100000000;
    const std::int64_t minutes = (scaled / 1000000) % 100;
    const double seconds = static_cast<double>(scaled % 1000000) / 1e4;
    const double total = static_cast<double>(degrees) * 3600.0 + static_cast<double>(minutes) * 60.0 + seconds;
    return dms < 0 ? -total : total;
}

double SecToDms(double seconds)
{
    if (!std::isfinite(seconds))
        return 0.0;
    const double magnitude = tessara::RoundDecimal(std::fabs(seconds), 4);
    const auto tenThousandths = static_cast<std::int64_t>(std::llround(magnitude * 1e4));
    const std::int64_t degrees = tenThousandths / 36000000;
    const std::int64_t minutes = (tenThousandths / 600000) % 60;
    const std::int64_t restSeconds = tenThousandths % 600000;   // seconds × 1e4
    const double dms = static_cast<double>(degrees) + static_cast<double>(minutes) / 100.0 +
                       static_cast<double>(restSeconds) / 1e8;
    const double exact = tessara::RoundDecimal(dms, 8);
    return seconds < 0 ? -exact : exact;
}

double DmstoRad(double dms)
{
    return DMS_ToSec(dms) / 3600.0 * std::numbers::pi / 180.0;
}

double RadToDms(double radians)
{
    return SecToDms(radians * 180.0 / std::numbers::pi * 3600.0);
}

double SubDms(double a, double b)
{
    double diff = std::fmod(DMS_ToSec(a) - DMS_ToSec(b), kSecondsPerCircle);
    if (diff > kSecondsHalfCircle)
        diff -= kSecondsPerCircle;
    else if (diff < -kSecondsHalfCircle)
        diff += kSecondsPerCircle;
    return SecToDms(diff);
}

double GetVerchi(int toZenith, double radians)
{
    const double angle = toZenith == 1 ? std::numbers::pi / 2.0 - radians : radians;
    return RadToDms(angle);
}

#include "hostfw/gnss/GnssRounding.h"

#include "platform/Numbers.h"

#include <cctype>
#include <cmath>

double CmpMaru(double value, int decimals, int /*mode*/)
{
    return tessara::RoundDecimal(value, decimals, tessara::RoundMode::HalfUp);
}

double Round(double value, int decimals, int /*mode*/)
{
    return tessara::RoundDecimal(value, decimals, tessara::RoundMode::HalfUp);
}

double CmpNetMaru(int kind, double value)
{
    return tessara::RoundDecimal(value, kind == 0 ? 5 : 4, tessara::RoundMode::HalfUp);
}

namespace {

std::size_t DigitRun(std::string_view s, std::size_t from)
{
    std::size_t i = from;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    return i - from;
}

}  // namespace

int CmpTeno(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const std::size_t na = DigitRun(a, i);
        const std::size_t nb = DigitRun(b, j);
        if (na > 0 && nb > 0) {
            std::string_view da = a.substr(i, na);
            std::string_view db = b.substr(j, nb);
            while (da.size() > 1 && da.front() == '0') da.remove_prefix(1);
            while (db.size() > 1 && db.front() == '0') db.remove_prefix(1);
            if (da.size() != db.size()) return da.size() < db.size() ? -1 : 1;
            if (const int c = da.compare(db); c != 0) return c < 0 ? -1 : 1;
            i += na;
            j += nb;
            continue;
        }
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if (ca != cb) return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

void CmpHeigo(const double p[3], const double d[3], double& dN, double& dE, double& dU)
{
    // GRS80 geodetic latitude by Bowring's formula; plenty for a local rotation.
    constexpr double a = 6378137.0;
    constexpr double f = 1.0 / 298.257222101;
    constexpr double b = a * (1.0 - f);
    constexpr double e2 = f * (2.0 - f);
    const double ep2 = (a * a - b * b) / (b * b);
    const double r = std::hypot(p[0], p[1]);
    const double lon = std::atan2(p[1], p[0]);
    const double theta = std::atan2(p[2] * a, r * b);
    const double st = std::sin(theta);
    const double ct = std::cos(theta);
    const double lat = std::atan2(p[2] + ep2 * b * st * st * st, r - e2 * a * ct * ct * ct);
    const double sp = std::sin(lat);
    const double cp = std::cos(lat);
    const double sl = std::sin(lon);
    const double cl = std::cos(lon);
    dN = -sp * cl * d[0] - sp * sl * d[1] + cp * d[2];
    dE = -sl * d[0] + cl * d[1];
    dU = cp * cl * d[0] + cp * sl * d[1] + sp * d[2];
}

bool IsUnsetValue(double value)
{
    return value == 1e-16;
}

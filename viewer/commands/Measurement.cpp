#include "viewer/commands/Measurement.h"

#include "outside/GeoFunc.h"
#include "viewer/dialogs/HintText.h"

#include <cmath>

Measurement::Measurement(const MTRX& userMatrix) : m_toSurvey(~userMatrix) {}

std::optional<DistanceValues> Measurement::Distance(const PT& userA, const PT& userB) const
{
    if (!userA.IsFinite() || !userB.IsFinite()) return std::nullopt;
    const double plane = _f_length(userA.x(), userA.y(), userB.x(), userB.y());
    const double height = std::fabs(userA.z() - userB.z());
    // hypot, so that far-apart points give a finite slope where the squares would overflow.
    const double slope = std::hypot(plane, height);
    const DistanceValues values{m_toSurvey.D(plane), m_toSurvey.D(height), m_toSurvey.D(slope)};
    if (!std::isfinite(values.plane) || !std::isfinite(values.height) || !std::isfinite(values.slope))
        return std::nullopt;
    return values;
}

std::optional<PT> Measurement::Coordinates(const PT& user) const
{
    PT survey = user;
    m_toSurvey.XY(survey);
    if (!survey.IsFinite()) return std::nullopt;
    return survey;
}

std::string Measurement::DistanceStatusText(const DistanceValues& values)
{
    return "平面距離：" + CFixedText(values.plane, 6) + " 斜距離：" + CFixedText(values.slope, 6) + " 高低差：" +
           CFixedText(values.height, 6);
}

std::string Measurement::CoordinateStatusText(const PT& point)
{
    return "X：" + CFixedText(point.x(), 6) + "  Y：" + CFixedText(point.y(), 6) + "  Z：" + CFixedText(point.z(), 6);
}

DistanceLines Measurement::Lines(const PT& a, const PT& b)
{
    DistanceLines lines;
    lines.low = b.z() < a.z() ? b : a;
    lines.high = b.z() < a.z() ? a : b;
    lines.corner = PT(lines.high.x(), lines.high.y(), lines.low.z());
    return lines;
}

std::optional<QPoint> Measurement::HintAnchor(double windowX, double windowY, int clientWidth, int clientHeight)
{
    const double x = windowX;
    const double y = clientHeight - windowY;
    // The comparisons fail for NaN as well.
    if (!(x >= 1.0 && x <= clientWidth && y >= 1.0 && y <= clientHeight)) return std::nullopt;
    return QPoint(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
}

#include "outside/GeoFunc.h"

#include "outside/StoreMarkers.h"
#include "platform/Numbers.h"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

// Twice the signed area of (a, b, c): > 0 when c is left of a->b.
double Orient(const PT& a, const PT& b, const PT& c)
{
    return (b.x() - a.x()) * (c.y() - a.y()) - (b.y() - a.y()) * (c.x() - a.x());
}

bool WithoutElevation(double z)
{
    return std::isnan(z) || IsUnsetValue(z);
}

bool PlanFinite(const PT& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// Orientation with a tolerance scaled to the segment length, so points a hair off
// a long line count as on it.
int Side(const PT& a, const PT& b, const PT& c)
{
    const double o = Orient(a, b, c);
    const double scale = std::max({1.0, std::fabs(b.x() - a.x()) + std::fabs(b.y() - a.y()),
                                   std::fabs(c.x() - a.x()) + std::fabs(c.y() - a.y())});
    if (std::fabs(o) <= kGeoTolerance * scale)
        return 0;
    return o > 0 ? 1 : -1;
}

// c lies within the bounding box of a-b (c known to be on the line).
bool WithinBox(const PT& a, const PT& b, const PT& c)
{
    return c.x() >= std::min(a.x(), b.x()) - kGeoTolerance && c.x() <= std::max(a.x(), b.x()) + kGeoTolerance &&
           c.y() >= std::min(a.y(), b.y()) - kGeoTolerance && c.y() <= std::max(a.y(), b.y()) + kGeoTolerance;
}

bool OnSegment(const PT& a, const PT& b, const PT& c)
{
    return Side(a, b, c) == 0 && WithinBox(a, b, c);
}

// The ring of a polygon without a repeated closing point.
std::vector<PT> Ring(const POLY& poly)
{
    std::vector<PT> ring = poly.Points();
    if (poly.IsClosed())
        ring.pop_back();
    return ring;
}

} // namespace

short IsCrs(const LN& a, const LN& b)
{
    return GetCrs(a, b, nullptr);
}

short GetCrs(const LN& a, const LN& b, PT* crs)
{
    const PT& p1 = a.Pt1;
    const PT& p2 = a.Pt2;
    const PT& q1 = b.Pt1;
    const PT& q2 = b.Pt2;
    if (!PlanFinite(p1) || !PlanFinite(p2) || !PlanFinite(q1) || !PlanFinite(q2))
        return kCrsNone;
    auto put = [crs](const PT& at) {
        if (crs != nullptr) {
            crs->X() = at.x();
            crs->Y() = at.y();
        }
    };
    const bool aPoint = IsZeroDst(p1, p2);
    const bool bPoint = IsZeroDst(q1, q2);
    if (aPoint || bPoint) {
        // A zero-length segment touches the other when it lies on it.
        if (aPoint && bPoint) {
            if (!IsZeroDst(p1, q1))
                return kCrsNone;
            put(p1);
            return kCrsTouch;
        }
        const PT& pt = aPoint ? p1 : q1;
        const LN& seg = aPoint ? b : a;
        if (!OnSegment(seg.Pt1, seg.Pt2, pt))
            return kCrsNone;
        put(pt);
        return kCrsTouch;
    }

    const int d1 = Side(q1, q2, p1);
    const int d2 = Side(q1, q2, p2);
    const int d3 = Side(p1, p2, q1);
    const int d4 = Side(p1, p2, q2);

    if (d1 == 0 && d2 == 0) {
        // On one line: count the shared stretch.
        const double dx = p2.x() - p1.x();
        const double dy = p2.y() - p1.y();
        const double len2 = dx * dx + dy * dy;
        auto param = [&](const PT& q) { return ((q.x() - p1.x()) * dx + (q.y() - p1.y()) * dy) / len2; };
        double t1 = param(q1);
        double t2 = param(q2);
        if (t1 > t2)
            std::swap(t1, t2);
        const double lo = std::max(0.0, t1);
        const double hi = std::min(1.0, t2);
        const double tol = kGeoTolerance / std::sqrt(len2);
        if (hi < lo - tol)
            return kCrsParallel;
        if (hi - lo <= tol) {
            put(PT(p1.x() + dx * lo, p1.y() + dy * lo, 0.0));
            return kCrsTouch;
        }
        return kCrsCollinear;
    }

    if (d1 * d2 < 0 && d3 * d4 < 0) {
        const double den = (p2.x() - p1.x()) * (q2.y() - q1.y()) - (p2.y() - p1.y()) * (q2.x() - q1.x());
        const double t = ((q1.x() - p1.x()) * (q2.y() - q1.y()) - (q1.y() - p1.y()) * (q2.x() - q1.x())) / den;
        put(PT(p1.x() + (p2.x() - p1.x()) * t, p1.y() + (p2.y() - p1.y()) * t, 0.0));
        return kCrsProper;
    }
    if (d1 == 0 && WithinBox(q1, q2, p1)) {
        put(p1);
        return kCrsTouch;
    }
    if (d2 == 0 && WithinBox(q1, q2, p2)) {
        put(p2);
        return kCrsTouch;
    }
    if (d3 == 0 && WithinBox(p1, p2, q1)) {
        put(q1);
        return kCrsTouch;
    }
    if (d4 == 0 && WithinBox(p1, p2, q2)) {
        put(q2);
        return kCrsTouch;
    }
    // No common point: parallel when the directions agree.
    const double cross = (p2.x() - p1.x()) * (q2.y() - q1.y()) - (p2.y() - p1.y()) * (q2.x() - q1.x());
    const double scale = a.Length() * b.Length();
    if (std::fabs(cross) <= kGeoTolerance * std::max(1.0, scale))
        return kCrsParallel;
    return kCrsNone;
}

short PtInPolygon(const POLY& poly, const PT& pt)
{
    if (!PlanFinite(pt))
        return 0;
    const std::vector<PT> ring = Ring(poly);
    if (ring.size() < 3)
        return 0;
    for (const PT& p : ring)
        if (!PlanFinite(p))
            return 0;
    bool inside = false;
    double area2 = 0.0;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const PT& a = ring[j];
        const PT& b = ring[i];
        area2 += a.x() * b.y() - b.x() * a.y();
        if (OnSegment(a, b, pt))
            return 2;
        if ((b.y() > pt.y()) != (a.y() > pt.y())) {
            const double x = b.x() + (pt.y() - b.y()) * (a.x() - b.x()) / (a.y() - b.y());
            if (pt.x() < x)
                inside = !inside;
        }
    }
    if (std::fabs(area2) <= kGeoTolerance)
        return 0; // no area: nothing is inside
    return inside ? 1 : 0;
}

int GetCrossCnt(const POLY& a, const POLY& b)
{
    const std::vector<PT> ra = Ring(a);
    const std::vector<PT> rb = Ring(b);
    if (ra.size() < 2 || rb.size() < 2)
        return 0;
    int count = 0;
    for (std::size_t i = 0; i < ra.size(); ++i) {
        const LN ea(ra[i], ra[(i + 1) % ra.size()]);
        for (std::size_t j = 0; j < rb.size(); ++j) {
            const short c = IsCrs(ea, LN(rb[j], rb[(j + 1) % rb.size()]));
            if (c == kCrsProper || c == kCrsTouch)
                ++count;
        }
    }
    return count;
}

double GetSuiOfPtLine(const PT& pt, const LINE& line, PT* foot)
{
    const PT& a = line.Pt1();
    const PT& b = line.Pt2();
    if (!line.IsValid()) {
        if (foot != nullptr)
            *foot = a;
        return pt.Length2D(a);
    }
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double t = ((pt.x() - a.x()) * dx + (pt.y() - a.y()) * dy) / (dx * dx + dy * dy);
    const PT f(a.x() + dx * t, a.y() + dy * t, a.z() + (b.z() - a.z()) * t);
    if (foot != nullptr)
        *foot = f;
    return pt.Length2D(f);
}

bool IsOn(const PT& pt, const LN& ln)
{
    if (!PlanFinite(pt) || !PlanFinite(ln.Pt1) || !PlanFinite(ln.Pt2))
        return false;
    if (IsZeroDst(ln.Pt1, ln.Pt2))
        return IsZeroDst(pt, ln.Pt1);
    PT foot;
    const double d = GetSuiOfPtLine(pt, LINE(ln), &foot);
    return d <= kGeoTolerance * std::max(1.0, ln.Length()) && WithinBox(ln.Pt1, ln.Pt2, pt);
}

bool IsSuiOn(const PT& pt, const LN& ln)
{
    if (!PlanFinite(pt) || IsZeroDst(ln.Pt1, ln.Pt2))
        return false;
    const double dx = ln.Pt2.x() - ln.Pt1.x();
    const double dy = ln.Pt2.y() - ln.Pt1.y();
    const double t = ((pt.x() - ln.Pt1.x()) * dx + (pt.y() - ln.Pt1.y()) * dy) / (dx * dx + dy * dy);
    const double tol = kGeoTolerance / std::sqrt(dx * dx + dy * dy);
    return t >= -tol && t <= 1.0 + tol;
}

bool IsZeroDst(const PT& a, const PT& b)
{
    const double d = a.Length2D(b);
    return d <= kGeoTolerance; // NaN compares false: not zero
}

int SetProportionalZ(const LN& ln, PT& pt)
{
    const double len = ln.Length();
    if (!(len > kGeoTolerance) || !PlanFinite(pt))
        return 0;
    const double z1 = ln.Pt1.z();
    const double z2 = ln.Pt2.z();
    if (WithoutElevation(z1) || WithoutElevation(z2))
        return 0;
    const double s = pt.Length2D(ln.Pt1);
    pt.Z() = GetProportion(0.0, len, z1, z2, s);
    return 1;
}

double _f_length(const double* x1, const double* y1, const double* x2, const double* y2)
{
    if (x1 == nullptr || y1 == nullptr || x2 == nullptr || y2 == nullptr)
        return 0.0;
    return _f_length(*x1, *y1, *x2, *y2);
}

double _f_length(double x1, double y1, double x2, double y2)
{
    return std::hypot(x2 - x1, y2 - y1);
}

double _f_atan(const double* num, const double* den)
{
    if (num == nullptr || den == nullptr || std::isnan(*num) || std::isnan(*den))
        return 0.0;
    if (*num == 0.0 && *den == 0.0)
        return 0.0;
    return std::atan2(*num, *den);
}

double GetProportion(double a0, double a1, double h0, double h1, double a)
{
    if (a1 == a0)
        return h0;
    return h0 + (h1 - h0) * (a - a0) / (a1 - a0);
}

double RadToDeg(double rad)
{
    return rad * 180.0 / _f_pi;
}

double DegToRad(double deg)
{
    return deg * _f_pi / 180.0;
}

int _f_round(const double* d)
{
    return d == nullptr ? 0 : _f_round(*d);
}

int _f_round(double d)
{
    if (std::isnan(d))
        return 0;
    const double r = std::round(d); // halves away from zero
    if (r >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (r <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(r);
}

double _Round(double v, int decimals, int mode)
{
    switch (mode) {
    case 0:
        return tessara::RoundDecimal(v, decimals, tessara::RoundMode::Floor);
    case 5:
        return tessara::RoundDecimal(v, decimals, tessara::RoundMode::HalfUp);
    default:
        return v;
    }
}

bool _f_iszero(const double* d)
{
    return d != nullptr && _f_iszero(*d);
}

bool _f_iszero(double d)
{
    return std::fabs(d) <= kGeoTolerance;
}

double _f_sqrt(double v)
{
    return v > 0.0 ? std::sqrt(v) : 0.0;
}

std::string _DtoA(const double* d, int decimals)
{
    if (d == nullptr)
        return std::string();
    return tessara::FormatFixed(*d, std::clamp(decimals, 0, 17), tessara::RoundMode::HalfUp);
}

const char* _DtoA(const double* d, char* buffer, std::size_t bufferSize, int decimals)
{
    if (buffer == nullptr || bufferSize == 0)
        return buffer;
    const std::string text = _DtoA(d, decimals);
    const std::size_t n = std::min(text.size(), bufferSize - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return buffer;
}

int PlanOrientation(const PT& a, const PT& b, const PT& c)
{
    for (const PT* p : {&a, &b, &c})
        if (std::isnan(p->x()) || std::isnan(p->y()) || std::isinf(p->x()) || std::isinf(p->y()))
            return 0;
    using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
    const auto side = CGAL::orientation(Kernel::Point_2(a.x(), a.y()), Kernel::Point_2(b.x(), b.y()),
                                        Kernel::Point_2(c.x(), c.y()));
    return side == CGAL::LEFT_TURN ? 1 : side == CGAL::RIGHT_TURN ? -1 : 0;
}

#pragma once

// Plane-survey geometry and numeric helpers of the outside geometry library.
// Every function gives a defined result for degenerate input (zero-length segments,
// empty or degenerate polygons, NaN): false, 0 or the documented fallback, never NaN
// where a position or count is expected.

#include "outside/LINE.h"
#include "outside/LN.h"
#include "outside/POLY.h"
#include "outside/PT.h"

#include <cstddef>
#include <string>

inline constexpr double _f_pi = 3.14159265358979323846;
// Plan distances and areas below this count as zero.
inline constexpr double kGeoTolerance = 1e-9;

// Crossing codes of IsCrs / GetCrs. 1 and 2 mean the segments cross.
inline constexpr short kCrsNone = 0;       // no common point (not parallel)
inline constexpr short kCrsProper = 1;     // the interiors cross in one point
inline constexpr short kCrsTouch = 2;      // one point in common, an end of one on the other
inline constexpr short kCrsCollinear = 3;  // on one line, sharing a stretch
inline constexpr short kCrsParallel = 4;   // parallel (or on one line) without a common point

// 1 inside, 2 on the boundary, 0 outside. A polygon of fewer than three distinct
// points, or a point with a NaN coordinate, gives 0.
short PtInPolygon(const POLY& poly, const PT& pt);
// Side of c against the directed plan line a -> b, decided exactly: 1 left,
// -1 right, 0 on the line (or a NaN coordinate).
int PlanOrientation(const PT& a, const PT& b, const PT& c);
// Number of proper or touching crossings between the edges of two polygons
// (each taken as a closed ring).
int GetCrossCnt(const POLY& a, const POLY& b);
// Crossing code of two segments, in plan.
short IsCrs(const LN& a, const LN& b);
// As IsCrs; for codes 1 and 2 sets crs's x and y to the crossing (z untouched).
short GetCrs(const LN& a, const LN& b, PT* crs);
// Perpendicular plan distance from pt to the line, with the foot point (z
// interpolated along the line). A line without direction gives the distance to
// its first point, which is then the foot.
double GetSuiOfPtLine(const PT& pt, const LINE& line, PT* foot);
// True when pt lies on the segment (within kGeoTolerance, ends included).
bool IsOn(const PT& pt, const LN& ln);
// True when the foot of the perpendicular from pt falls within the segment.
bool IsSuiOn(const PT& pt, const LN& ln);
// True when the two points coincide in plan.
bool IsZeroDst(const PT& a, const PT& b);
// Sets pt's z by straight interpolation along the segment at pt's plan position.
// Returns 1, or 0 (pt unchanged) for a zero-length segment or an end without
// elevation (1e-16).
int SetProportionalZ(const LN& ln, PT& pt);

double _f_length(const double* x1, const double* y1, const double* x2, const double* y2);
double _f_length(double x1, double y1, double x2, double y2);
// atan2(num, den) in radians; 0 for two zeros or NaN.
double _f_atan(const double* num, const double* den);
// Value at a on the straight line through (a0, h0) and (a1, h1); h0 when a0 == a1.
double GetProportion(double a0, double a1, double h0, double h1, double a);
double RadToDeg(double rad);
double DegToRad(double deg);
// Nearest integer, halves away from zero; NaN gives 0, values beyond int saturate.
int _f_round(const double* d);
int _f_round(double d);
// Rounds at `decimals` decimals: mode 0 floor, mode 5 half up on the magnitude
// (the decimal-safe rule of the platform, so 2.675 at 2 decimals is 2.68). Any
// other mode returns v unchanged; NaN stays NaN.
double _Round(double v, int decimals, int mode);
// Zero within 1e-9; NaN is not zero.
bool _f_iszero(const double* d);
bool _f_iszero(double d);
// Square root; 0 for negative input or NaN.
double _f_sqrt(double v);
// Decimal text of d with `decimals` decimals, halves rounded up on the magnitude.
std::string _DtoA(const double* d, int decimals);
// The same into a caller's buffer (cut to its size, always terminated).
const char* _DtoA(const double* d, char* buffer, std::size_t bufferSize, int decimals);
template <std::size_t N>
const char* _DtoA(const double* d, char (&buffer)[N], int decimals)
{
    return _DtoA(d, buffer, N, decimals);
}

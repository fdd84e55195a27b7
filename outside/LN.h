#pragma once

#include "outside/PT.h"

// A segment between two points.
class LN {
public:
    LN() = default;
    LN(const PT& p1, const PT& p2) : Pt1(p1), Pt2(p2) {}

    PT Pt1;
    PT Pt2;

    // Middle of the segment (z too).
    PT GetCenterPt() const;
    // The point at distance `ofs` along the segment from Pt1 in plan (z interpolated);
    // Pt1 for a zero-length segment.
    PT GetPtByOfs(double ofs) const;
    // Plan length.
    double Length() const;
    // The segment moved sideways by `ofs` in plan: positive to the left of Pt1->Pt2.
    // A zero-length segment stays where it is.
    LN Offset(double ofs) const;
    LN operator+(double ofs) const { return Offset(ofs); }
    LN operator-(double ofs) const { return Offset(-ofs); }
};

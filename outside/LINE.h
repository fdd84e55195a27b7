#pragma once

#include "outside/LN.h"

// The infinite line through a segment's two points.
class LINE {
public:
    LINE() = default;
    explicit LINE(const LN& ln) : m_ln(ln) {}
    LINE(const PT& p1, const PT& p2) : m_ln(p1, p2) {}

    const PT& Pt1() const { return m_ln.Pt1; }
    const PT& Pt2() const { return m_ln.Pt2; }
    const LN& Segment() const { return m_ln; }
    // False when both points coincide in plan: such a line has no direction.
    bool IsValid() const;

private:
    LN m_ln;
};

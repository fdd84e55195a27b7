#include "outside/LN.h"

#include <cmath>

PT LN::GetCenterPt() const
{
    return PT((Pt1.x() + Pt2.x()) / 2.0, (Pt1.y() + Pt2.y()) / 2.0, (Pt1.z() + Pt2.z()) / 2.0);
}

double LN::Length() const
{
    return Pt1.Length2D(Pt2);
}

PT LN::GetPtByOfs(double ofs) const
{
    const double len = Length();
    if (!(len > 0.0) || !std::isfinite(ofs))
        return Pt1;
    const double t = ofs / len;
    return PT(Pt1.x() + (Pt2.x() - Pt1.x()) * t, Pt1.y() + (Pt2.y() - Pt1.y()) * t,
              Pt1.z() + (Pt2.z() - Pt1.z()) * t);
}

LN LN::Offset(double ofs) const
{
    const double len = Length();
    if (!(len > 0.0) || !std::isfinite(ofs))
        return *this;
    // Left normal of the direction Pt1 -> Pt2.
    const double nx = -(Pt2.y() - Pt1.y()) / len * ofs;
    const double ny = (Pt2.x() - Pt1.x()) / len * ofs;
    return LN(PT(Pt1.x() + nx, Pt1.y() + ny, Pt1.z()), PT(Pt2.x() + nx, Pt2.y() + ny, Pt2.z()));
}

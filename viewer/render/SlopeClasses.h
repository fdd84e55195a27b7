#pragma once

class LN;
class PT;

// Slope display of TIN faces: five classes by the steepest angle of a
// triangle, 0 steepest (above 30 degrees) to 4 flattest (5 degrees or less).
inline constexpr int kSlopeClassCount = 5;
inline constexpr int kSlopeClassVertical = 0;

//! Plan foot of the perpendicular from p on the line through the segment; true
//! when the foot lies within the segment's x and y ranges (ends included).
bool FootOnSegmentXY(const LN& segment, const PT& p, PT& foot);
//! Class of the slope from the edge up or down to q. An edge without plan
//! length stands vertical, so it gives class 0.
int EdgeSlopeClass(const PT& q, const LN& edge);
//! RGBA of the steepest class of the triangle; pale non-zero picks the pale
//! column. The colours are constant tables.
const float* ClassifyTriangleSlope(const PT& a, const PT& b, const PT& c, int pale);

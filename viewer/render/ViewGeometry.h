#pragma once

#include <QPoint>

#include <vector>

class LN;
class PT;

// Geometry helpers of the main view: hover and screen-polygon picking, and the
// steepness test of the structure buffers.

//! True when the point lies within 5 units (plan) of the segment's line and inside
//! the segment's bounding box widened by 5 on every side.
bool IsPointNearSegment(const PT& point, const LN& segment);
//! Crossing-number test of a screen point against a polygon of screen points (edges
//! walked from last -> first on; half-open in x). Null or empty polygons give false.
//! Products are formed in 64 bits, so large screen coordinates cannot overflow.
bool IsPointInPolygon(int x, int y, const std::vector<QPoint>* polygon);
//! True when the segment crosses (properly or touching) an edge of the polygon.
bool IsSegmentCrossingPolygon(const LN& segment, const std::vector<QPoint>* polygon);
//! True when the slope from the segment (height interpolated at the foot of the
//! perpendicular) up or down to the point is at most 80 degrees. A segment of zero
//! plan length takes its start height.
bool CheckSegmentPointAngle(const PT& point, const LN& segment);

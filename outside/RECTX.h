#pragma once

class POLY;

// A plan rectangle of four doubles: lower-left and upper-right corners.
class RECTX {
public:
    RECTX() = default;
    RECTX(double minX, double minY, double maxX, double maxY)
        : m_minX(minX), m_minY(minY), m_maxX(maxX), m_maxY(maxY) {}

    double m_minX = 0.0;
    double m_minY = 0.0;
    double m_maxX = 0.0;
    double m_maxY = 0.0;

    double Width() const { return m_maxX - m_minX; }
    double Height() const { return m_maxY - m_minY; }
    // Inclusive containment of a plan point.
    bool Contains(double x, double y) const;
    // True when the two rectangles share at least one point.
    bool Overlaps(const RECTX& o) const;
    // The rectangle as a closed polygon of five points (counter-clockwise, the first
    // repeated at the end). Returns 1, or 0 when `poly` is null.
    int GetPlygn(POLY* poly) const;
};

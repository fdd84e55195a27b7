#pragma once

#include "outside/PT.h"
#include "outside/RECTX.h"

#include <cstdint>
#include <vector>

// A polygon or polyline of at most `capacity` points. A closed ring repeats its
// first point at the end; the geometry functions accept rings either way.
class POLY {
public:
    explicit POLY(std::uint16_t capacity = 0xFFFF);

    // Appends a point; returns 1, or 0 when the polygon is full.
    int Add(const PT& pt);
    void Clear() { m_pts.clear(); }
    int GetCount() const { return static_cast<int>(m_pts.size()); }
    std::uint16_t GetCapacity() const { return m_capacity; }
    const PT& operator[](int i) const { return m_pts[static_cast<std::size_t>(i)]; }
    PT& operator[](int i) { return m_pts[static_cast<std::size_t>(i)]; }
    const std::vector<PT>& Points() const { return m_pts; }

    // Bounding rectangle; all zero for an empty polygon.
    RECTX GetRectPlygn() const;
    // True when the last point equals the first (and there are at least 2 points).
    bool IsClosed() const;

private:
    std::vector<PT> m_pts;
    std::uint16_t m_capacity;
};

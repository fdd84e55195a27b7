#pragma once

#include "outside/OutsideTypes.h"
#include "outside/PT.h"

#include <cstdint>
#include <functional>
#include <vector>

// One CAD figure of the host: kind (which is also its CAD layer id), attribute,
// colour and elevation, its point lists in user coordinates, and its segments split
// into those whose two ends have elevations (3D) and the others (2D).
class CElmData {
public:
    // One segment: a leading value (the index of the segment's first point in its
    // point list) and the two point indices it joins. 12 bytes.
    struct Segment {
        std::int32_t lead = 0;
        std::int32_t i1 = 0;
        std::int32_t i2 = 0;
    };
    using SegmentList = std::vector<Segment>;

    static constexpr std::uint8_t kKindTwoLists = 5;   // may carry a second point list
    static constexpr std::uint8_t kKindExtraAttr = 13; // carries two extra attributes
    static constexpr std::uint8_t kKindMarked = 31;

    CElmData() = default;

    // Total number of points over all point lists.
    std::size_t GetPointCount() const;
    // Rebuilds the 3D and 2D segment lists from the point lists: each segment of
    // the first list becomes an entry of its own, a one-point list the record
    // (0, 0, 0); the segments of a second list are appended to the second entry of
    // the list they belong to (a new entry when there is none). A z of 1e-16 or NaN
    // counts as no elevation; NaN z is stored as 1e-16.
    void RebuildSegments();
    // True when every point is finite in x and y.
    bool IsValid() const;
    // Calls fn with the two ends of every segment (3D, then 2D) in every point list
    // it indexes, as the figure is drawn; a pair that does not index a list is
    // left out for that list.
    void ForEachSegmentEnds(const std::function<void(const PT&, const PT&)>& fn) const;

    std::uint8_t m_nKind = 0;
    std::int32_t m_nAttr = 0;
    COLORREF m_nColor = 0;
    double m_dZ = 1e-16;
    std::vector<std::vector<PT>> m_ptLists;
    std::vector<SegmentList> m_seg3D;
    std::vector<SegmentList> m_seg2D;
    std::int32_t m_nAttr13[2] = {0, 0};
    // 1 when the kind is 31 (set by the model file reader).
    std::int32_t m_nKind31Marker = 0;
};

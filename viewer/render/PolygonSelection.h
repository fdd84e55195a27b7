#pragma once

#include <cstdint>
#include <vector>

#include "viewer/render/ScreenPolygon.h"
#include "viewer/render/ScreenProjector.h"

#include "outside/CPCloudMng.h"
#include "outside/SelPCloud.h"

class CModelDataMng;

// Selects the points of the shown groups that lie inside a screen polygon and
// merges them into the pick buckets (one bucket of point numbers per group).
// Whole groups and chunks are taken or skipped by their projected boxes; only
// chunks the polygon cuts cost a projection per point. The caller holds the
// view lock for the whole run.
class PolygonSelection {
public:
    //! Shift adds to the selection, Ctrl removes; Shift wins when both are held.
    struct Keys {
        bool shift = false;
        bool ctrl = false;
    };

    PolygonSelection(const CModelDataMng& store, const ScreenProjector& projector, ScreenPolygon polygon,
                     bool testInside);

    //! Without a key the buckets are emptied first. A polygon of fewer than three
    //! points selects nothing and answers 0; otherwise 1.
    int Run(std::vector<SelPCloud>& buckets, Keys keys);

    //! Points projected one by one in the last run.
    std::uint64_t ProjectedPoints() const { return m_projected; }
    //! Classes of the groups (by store position) and of their chunks in the last run.
    const std::vector<std::int16_t>& GroupClasses() const { return m_groupClasses; }
    const std::vector<std::vector<std::int16_t>>& ChunkClasses() const { return m_chunkClasses; }

    //! Merges the numbers collected for a group into the buckets (the bucket-merge
    //! rules of the selection). `collected` may be reordered.
    static void Merge(std::vector<SelPCloud>& buckets, std::int64_t group, std::vector<std::uint64_t>& collected,
                      Keys keys);
    //! The same for a whole group of n points: Shift fills its bucket, Ctrl removes
    //! the bucket, no key appends one.
    static void MergeWholeGroup(std::vector<SelPCloud>& buckets, std::int64_t group, std::uint64_t n, Keys keys);

private:
    void Classify();
    void Collect(const CPCloudMng& group, std::size_t g, std::vector<std::uint64_t>& out);
    bool TestPoint(const CPCloudMng::CloudPoint& p) const;

    const CModelDataMng& m_store;
    ScreenProjector m_projector;
    ScreenPolygon m_polygon;
    bool m_testInside;
    std::uint64_t m_projected = 0;
    std::vector<std::int16_t> m_groupClasses;
    std::vector<std::vector<std::int16_t>> m_chunkClasses;
};

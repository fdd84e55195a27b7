#pragma once

#include "outside/PT.h"
#include "viewer/files/HostPolygonFile.h"

#include <vector>

struct SceneFrame;

// The host's own points, segments and polygons laid over the scene (pipe commands
// 20 and 21), in user coordinates. Guarded by the view mutex; the render passes
// draw it. Each installed file adds to it; only a clear empties it.
struct HostOverlayStore {
    std::vector<HostPolygonContent::Point> points;
    std::vector<HostPolygonContent::Segment> segments;
    std::vector<HostPolygonContent::Polygon> polygons;

    void Clear()
    {
        points.clear();
        segments.clear();
        polygons.clear();
    }
    bool Empty() const { return points.empty() && segments.empty() && polygons.empty(); }

    struct Installed {
        PT renderCentre;               // the host's origin in user coordinates, z the lowest height
        double lowest = 1e-16;         // lowest height of the file, 1e-16 for none
        PT firstCorner;                // working-area corner 0, user coordinates
    };
    //! Installs a file read whole: sets the frame's transform when it is not yet set
    //! (axes exchanged, moved by the host's origin), maps the corners into the frame
    //! and appends every record mapped through the transform. Call with the view
    //! mutex held; it cannot fail.
    Installed Install(const HostPolygonContent& content, SceneFrame& frame);
};

#pragma once

// Which TIN option controls are enabled, from the check boxes: splitting and
// flattening only with break lines considered, the maximum edge only when long
// triangles are removed, each distance only with its switch enabled and on.
struct TinOptionEnabling {
    bool split = false;      // 32956
    bool flat = false;       // 32958
    bool maxEdge = false;    // 32917
    bool splitPitch = false; // 32957
    bool flatRange = false;  // 32959

    static TinOptionEnabling Of(bool considerBreakLines, bool removeTriangles, bool splitChecked, bool flatChecked)
    {
        TinOptionEnabling e;
        e.split = considerBreakLines;
        e.flat = considerBreakLines;
        e.maxEdge = removeTriangles;
        e.splitPitch = e.split && splitChecked;
        e.flatRange = e.flat && flatChecked;
        return e;
    }
    bool operator==(const TinOptionEnabling&) const = default;
};

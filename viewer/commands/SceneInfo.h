#pragma once

#include <cstdint>
#include <string>

class CModelDataMng;

// The information box of the view: what the scene holds, hidden data included.
struct SceneInfoCounts {
    std::int64_t groups = 0;     // groups holding points or triangles
    std::int64_t points = 0;     // points of every group
    std::int64_t triangles = 0;  // group TINs, the CAD TIN and the view cloud's TIN
    std::int64_t figures = 0;    // CAD figures
};

// Reads the counts; the caller holds the view lock.
SceneInfoCounts CountSceneInfo(const CModelDataMng& store);

struct SceneInfoText {
    std::string vendor, renderer, version;  // GL strings; empty when unknown
    SceneInfoCounts counts;
    double minZ = 0.0, maxZ = 0.0;           // unset values (below 1e-7 in size) print as 0
    double lowerLeftX = 0.0, lowerLeftY = 0.0;  // survey coordinates
};

// The box's text, numbers in the C locale, the colons of every line aligned.
std::string FormatSceneInfo(const SceneInfoText& info);

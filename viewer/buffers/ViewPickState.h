#pragma once

#include "viewer/render/HoverPickCache.h"
#include "viewer/render/PolygonSelection.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// What the view keeps for selection, hover and the tool feedback (UI thread).
struct ViewPickState {
    //! The screen cache the TIN tools hover over, and the camera it was built with.
    HoverPickCache cache;
    std::array<float, 16> cacheCamera{};
    int cacheWidth = -1;
    int cacheHeight = -1;
    //! Hover requests taken in (ViewBuffersState::pickCacheRequested counts them).
    int hoverRequestsTaken = 0;
    //! The hovered vertex (tool mode 1) and the hovered-edge list (tool mode 2).
    std::optional<HoverPickCache::Vertex> hoveredVertex;
    std::vector<HoverPickCache::Edge> hoveredEdges;

    //! Filled by the hover pick of the CAD tools; a non-empty list hides the outline.
    std::vector<std::int32_t> pickedList;
    //! The two further selection lists of the TIN and CAD editing tools.
    std::vector<std::int64_t> toolSelection1;
    std::vector<std::int64_t> toolSelection2;
    int cadHighlightDirty = 0;
    std::uint8_t selectionPresent = 0;
    //! Where Shift and Ctrl come from (the keyboard unless a test says otherwise).
    std::function<PolygonSelection::Keys()> keys;

    // Tool feedback: the outline's vertex count, the previous outline's vertices
    // and whether the hovered item needs a buffer.
    std::vector<int> outlineCounts;
    std::vector<float> previousOutline;
};

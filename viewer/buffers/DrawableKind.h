#pragma once

#include "viewer/render/ViewConstants.h"

#include <cstddef>

// Every kind of drawable content with its own buffers and its built and
// release-pending flags.
enum class DrawableKind : int {
    GroupCloud,
    Selection,
    ViewCloud,
    CadFigure,
    CadHighlight,
    PartLayer,
    GroupTinFaces,
    GroupTinTextured,
    GroupTinEdges,
    GroupTinVertices,
    ViewCloudTinFaces,
    ViewCloudTinTextured,
    ViewCloudTinEdges,
    ViewCloudTinVertices,
    CadTinFaces,
    CadTinTextured,
    CadTinEdges,
    CadTinVertices,
    HostPolygons,
    BuildTinFaces,
    BuildTinEdges,
    BuildTinVertices,
    RoadBridgeTinFaces, RoadBridgeTinEdges, RoadBridgeTinVertices,
    LightingTinFaces, LightingTinEdges, LightingTinVertices,
    UtilityPoleTinFaces, UtilityPoleTinEdges, UtilityPoleTinVertices,
    HighTowerTinFaces, HighTowerTinEdges, HighTowerTinVertices,
    RailRoadTinFaces, RailRoadTinEdges, RailRoadTinVertices,
    ChimneyTinFaces, ChimneyTinEdges, ChimneyTinVertices,
    Count
};

inline constexpr std::size_t kDrawableKindCount = static_cast<std::size_t>(DrawableKind::Count);

// The seventeen draw switches, numbered as the picking commands know them.
enum class DrawSwitch : int {
    CadFigures = 1,
    PartLayer = 2,
    GroupClouds = 3,
    GroupTinFaces = 4,
    TinEdges = 5,
    TinVertices = 6,
    GroupTinTextured = 7,
    ViewCloudPoints = 8,
    ViewCloudTinFaces = 9,
    ViewCloudTinTextured = 10,
    CadTinFaces = 11,
    CadTinTextured = 12,
    StructureVertices = 13,
    StructureEdges = 14,
    StructureFaces = 15,
    Unused16 = 16,
    HostPolygons = 17,
};

inline constexpr int kDrawSwitchCount = 17;

// The passes of RenderScene.

#pragma once

#include "viewer/buffers/DrawableKind.h"

struct RenderContext;

// Buffers and passes of the seven 3D-structure kinds (Build with six sets, then
// RoadBridge, Lighting, UtilityPole, HighTower, RailRoad, Chimney): faces per
// slot, edges and vertices per store. Never pickable.
class StructurePasses {
public:
    static constexpr int kKinds = 7;

    //! The vertex and edge passes of every kind, then (picture mode not 0) the faces.
    static void DrawAll(RenderContext& ctx, unsigned char pass);
    static void DrawVertices(RenderContext& ctx, unsigned char pass);
    static void DrawEdges(RenderContext& ctx, unsigned char pass);
    static void DrawFaces(RenderContext& ctx, int kind, unsigned char pass);

    static void BuildFaces(RenderContext& ctx, int kind);
    static void BuildEdges(RenderContext& ctx, int kind);
    static void BuildVertices(RenderContext& ctx, int kind);
    static void ReleaseFaces(RenderContext& ctx, int kind);
    static void ReleaseEdges(RenderContext& ctx, int kind);
    static void ReleaseVertices(RenderContext& ctx, int kind);

    static DrawableKind FaceKind(int kind);
    static DrawableKind EdgeKind(int kind);
    static DrawableKind VertexKind(int kind);
};

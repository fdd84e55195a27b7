#pragma once

#include "viewer/buffers/DrawableKind.h"

#include <cstdint>

class CPCloudMng;
struct GlMaterial;
class GroupGpuData;
struct RenderContext;

// Buffers and passes of the scene's TINs: faces (plain and textured), edges and
// vertices of every group's TIN, the view cloud's TIN and the CAD TIN. Counts
// are those of the build, so a TIN edited since draws what its buffers hold.
class TinPasses {
public:
    enum class Source { Group, ViewCloud, Cad };

    //! pictureMode: the TIN picture mode this frame draws in (1, 2 or 4).
    static void DrawFaces(RenderContext& ctx, Source source, unsigned char pass, int pictureMode);
    static void DrawTexturedFaces(RenderContext& ctx, Source source, unsigned char pass);
    //! Only the pending release of the textured kind (texture missing).
    static void RunTexturedRelease(RenderContext& ctx, Source source);
    static void DrawEdges(RenderContext& ctx, Source source, unsigned char pass);
    static void DrawVertices(RenderContext& ctx, Source source, unsigned char pass);

    static void BuildFaces(RenderContext& ctx, Source source, int pictureMode);
    static void BuildTexturedFaces(RenderContext& ctx, Source source);
    static void BuildEdges(RenderContext& ctx, Source source);
    static void BuildVertices(RenderContext& ctx, Source source);

    static void ReleaseFaces(RenderContext& ctx, Source source);
    static void ReleaseTexturedFaces(RenderContext& ctx, Source source);
    static void ReleaseEdges(RenderContext& ctx, Source source);
    static void ReleaseVertices(RenderContext& ctx, Source source);

    static DrawableKind FaceKind(Source source);
    static DrawableKind TexturedKind(Source source);
    static DrawableKind EdgeKind(Source source);
    static DrawableKind VertexKind(Source source);

    //! Lit faces: sizes 1, lighting with two sides, light 0 from the eye, and the
    //! face material of the index.
    static void SetupLitFaces(RenderContext& ctx, std::uint16_t materialIndex);
    //! Sets the global ambient and the front-and-back material.
    static void ApplyFaceMaterial(RenderContext& ctx, const GlMaterial& material);
};

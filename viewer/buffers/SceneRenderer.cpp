#include "viewer/buffers/SceneRenderer.h"

#include "viewer/buffers/BufferNameQueue.h"
#include "viewer/buffers/FigurePasses.h"
#include "viewer/buffers/HostPolygonPass.h"
#include "viewer/buffers/StructurePasses.h"
#include "viewer/buffers/GlBufferOps.h"
#include "viewer/buffers/PointCloudPass.h"
#include "viewer/buffers/RenderBook.h"
#include "viewer/buffers/RenderContext.h"
#include "viewer/buffers/SceneLayers.h"
#include "viewer/buffers/TinPasses.h"
#include "viewer/render/skGLTexture.h"

#include <cassert>

namespace {

constexpr GLbitfield kAllAttribs = 0xFFFFF;
using Source = TinPasses::Source;

void ClearDepthToZero(GlFunctions& gl)
{
    gl.glClearDepth(0.0);
    gl.glClear(GL_DEPTH_BUFFER_BIT);
    gl.glClearDepth(1.0);
}

}  // namespace

void SceneRenderer::DeleteOrphanedBuffers(RenderContext& ctx)
{
    ctx.book.NameQueue()->Drain(ctx.gl);
    // Memory of buffers released since the last pass and not built in again.
    ctx.book.PointStorage().Clear();
}

void SceneRenderer::RenderScene(RenderContext& ctx, SceneLayers& layers, unsigned char pass,
                                const tessara::OwnedMutex& viewMutex)
{
    // The store is read throughout: whoever calls must hold the view lock.
    if (!viewMutex.HeldByThisThread()) {
        assert(!"RenderScene without the view lock");
        return;
    }
    switch (pass) {
    case kPassDisplay: RenderMain(ctx, layers, pass); break;
    case kPassPick: {
        // Each layer the pass draws is cleared on its own: whatever framebuffer is
        // bound now (the window's, outside a frame) is not the pass's to clear.
        for (SceneLayers::Layer layer : {SceneLayers::kFigure, SceneLayers::kGrid, SceneLayers::kOverlay,
                                         SceneLayers::kPart, SceneLayers::kHostPolygon, SceneLayers::kTin})
            layers.Prepare(layer);
        ctx.frame.pointsOnly = 0;
        RenderMain(ctx, layers, pass);
        break;
    }
    case kPassPointPick: RenderPointPick(ctx, layers); break;
    default: break;
    }
}

void SceneRenderer::DrawTinLayer(RenderContext& ctx, SceneLayers& layers, unsigned char pass)
{
    GlFunctions& gl = ctx.gl;
    const RenderSettings& s = ctx.settings;
    layers.Bind(SceneLayers::kTin);
    if (pass == kPassPick) GlBufferOps::DisablePickSpoilers(gl);
    const int mode = s.tinPictureMode;
    if (mode == 3 && ctx.texture != nullptr) {
        if (pass == kPassDisplay) ctx.texture->Bind();
        for (Source src : {Source::Cad, Source::ViewCloud, Source::Group}) TinPasses::DrawTexturedFaces(ctx, src, pass);
        gl.glBindTexture(GL_TEXTURE_2D, 0);
    } else if (mode == 3 || mode == 1 || mode == 2 || mode == 4) {
        // Without a picture the textured mode shows the faces in one colour.
        const int drawMode = mode == 3 ? 1 : mode;
        for (Source src : {Source::Cad, Source::ViewCloud, Source::Group}) {
            if (mode == 3) TinPasses::RunTexturedRelease(ctx, src);
            TinPasses::DrawFaces(ctx, src, pass, drawMode);
        }
    }
    if (s.tinEdgeSwitch != 0)
        for (Source src : {Source::Group, Source::Cad, Source::ViewCloud}) TinPasses::DrawEdges(ctx, src, pass);
    if (s.tinVertexSwitch != 0)
        for (Source src : {Source::Group, Source::Cad, Source::ViewCloud}) TinPasses::DrawVertices(ctx, src, pass);
    if (s.viewDepthAlways != 0 && pass == kPassDisplay) gl.glClear(GL_DEPTH_BUFFER_BIT);
    layers.BindDefault();
}

void SceneRenderer::DrawFigureLayer(RenderContext& ctx, SceneLayers& layers, unsigned char pass)
{
    GlFunctions& gl = ctx.gl;
    layers.Bind(SceneLayers::kFigure);
    if (pass == kPassPick) GlBufferOps::DisablePickSpoilers(gl);
    FigurePasses::DrawCadFigures(ctx, pass);
    if (pass == kPassPick && ctx.settings.viewDepthAlways != 0) {
        // The TIN layer keeps its depth for the pick read-back, so copying it
        // would hide structures and CAD drawn over the TINs from picking.
        gl.glClear(GL_DEPTH_BUFFER_BIT);
    } else {
        gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, layers.Framebuffer(SceneLayers::kTin));
        gl.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, layers.Framebuffer(SceneLayers::kFigure));
        gl.glBlitFramebuffer(0, 0, layers.Width(), layers.Height(), 0, 0, layers.Width(), layers.Height(),
                             GL_DEPTH_BUFFER_BIT, GL_NEAREST);
        layers.Bind(SceneLayers::kFigure);
    }
    gl.glDepthFunc(GL_LEQUAL);
    StructurePasses::DrawAll(ctx, pass);
    gl.glFlush();
    layers.BindDefault();
}

void SceneRenderer::RenderMain(RenderContext& ctx, SceneLayers& layers, unsigned char pass)
{
    GlFunctions& gl = ctx.gl;
    const RenderSettings& s = ctx.settings;
    gl.glPushAttrib(kAllAttribs);
    gl.glDepthFunc(GL_LEQUAL);
    if (ctx.frame.pointsOnly == 0) DrawTinLayer(ctx, layers, pass);

    // The point layers belong to passes 1 and 9: a pick re-render leaves them.
    if (pass == kPassDisplay) {
        layers.Bind(SceneLayers::kCloud);
        if (s.viewDepthAlways == 0) {
            if (ctx.frame.pointsOnly == 0) ClearDepthToZero(gl);
            gl.glDepthFunc(GL_GEQUAL);
        }
        PointCloudPass::DrawGroupCloudPoints(ctx, pass);
        PointCloudPass::DrawViewCloudPoints(ctx, pass);
        gl.glFlush();
        layers.BindDefault();
    }
    if (ctx.frame.pointsOnly == 0) {
        DrawFigureLayer(ctx, layers, pass);
        layers.Bind(SceneLayers::kPart);
        gl.glDepthFunc(GL_ALWAYS);
        FigurePasses::DrawPartLayer(ctx, pass);
        gl.glFlush();
        layers.BindDefault();
        layers.Bind(SceneLayers::kHostPolygon);
        gl.glDepthFunc(GL_ALWAYS);
        HostPolygonPass::Draw(ctx, pass);
        gl.glFlush();
        layers.BindDefault();
    }
    gl.glPopAttrib();
}

void SceneRenderer::RenderPointPick(RenderContext& ctx, SceneLayers& layers)
{
    GlFunctions& gl = ctx.gl;
    gl.glPushAttrib(kAllAttribs);
    layers.Bind(SceneLayers::kPointPick);
    GlBufferOps::DisablePickSpoilers(gl);
    gl.glDepthFunc(GL_LEQUAL);
    if (ctx.settings.viewDepthAlways == 0) {
        if (ctx.frame.pointsOnly == 0) ClearDepthToZero(gl);
        gl.glDepthFunc(GL_GEQUAL);
    }
    PointCloudPass::DrawGroupCloudPoints(ctx, kPassPointPick);
    PointCloudPass::DrawViewCloudPoints(ctx, kPassPointPick);
    gl.glFlush();
    layers.BindDefault();
    gl.glPopAttrib();
}

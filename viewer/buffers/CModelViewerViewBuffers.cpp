// The main view's buffers and render passes: the dispatcher hook, the pick
// entry, the release family and the view's side of the invalidation marks.
#include "viewer/render/CModelViewerView.h"

#include "viewer/buffers/FigurePasses.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/HostPolygonPass.h"
#include "viewer/buffers/StructurePasses.h"
#include "viewer/buffers/PointCloudPass.h"
#include "viewer/buffers/RenderContext.h"
#include "viewer/buffers/SceneRenderer.h"
#include "viewer/buffers/TinPasses.h"
#include "viewer/buffers/PickLayerSet.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/buffers/ViewLayers.h"
#include "viewer/buffers/ViewOverlayGl.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/render/skGLTexture.h"

#include "outside/CModelDataMng.h"


void CModelViewerView::InitBuffers()
{
    m_buffers = {new ViewBuffersState(), [](ViewBuffersState* p) { delete p; }};
}

RenderContext CModelViewerView::MakeRenderContext()
{
    ViewBuffersState& st = *m_buffers;
    RenderSettings& s = st.settings;
    s.colourMode = m_pointColourMode;
    s.pointColour = m_settings.pointColour;
    s.brightPercent = m_settings.colourBrightness;
    s.pointSizeIndex = m_settings.pointSizeIndex;
    s.correctionHint = static_cast<std::uint16_t>(m_settings.pointDisplayType);
    s.tinPictureMode = m_settings.tinPictureMode;
    s.tinEdgeSwitch = m_settings.tinEdgeSwitch;
    s.tinVertexSwitch = m_settings.tinPointSwitch;
    s.viewDepthAlways = m_settings.depthMode;
    s.faceMaterialIndex = static_cast<std::uint16_t>(m_settings.materialIndex);
    s.paleSlopeColours = m_settings.paleSlopeFill;
    s.cadSwitch = m_settings.cadSwitch;
    s.partSwitch = m_settings.partSwitch;
    s.gradation = m_settings.gradation.GetCurColorConf();
    s.cadLineWidth = m_settings.cadLineWidthIndex;
    s.partLineWidth = m_settings.partLineWidthIndex;
    s.unsetExclusion = m_settings.hideFiguresWithoutZ;

    RenderContext ctx{*Gl(), *m_modelStore, st.book, s};
    ctx.frame.detailLevel = DetailLevel();
    ctx.frame.pointsOnly = RefinementActive() ? 1 : 0;
    ctx.frame.refinementCounter = RefinementCounter();
    ctx.selection = &st.pickBuckets;
    ctx.pickedGroup = m_pickedGroup;
    ctx.pickedPoint = m_pickedPoint;
    ctx.texture = st.texture.get();
    // The placement the files state keeps (from a model file or the host's
    // picture), in user coordinates.
    if (m_files) {
        const std::array<double, 5>& p = m_files->scene.texturePlacement;
        ctx.placement = TexturePlacement{p[0], p[1], p[2], p[3], p[4]};
    }
    ctx.vertexPickTolerance = m_vertexPointSize;
    ctx.figures = st.figures.get();
    ctx.hostOverlay = &st.hostOverlay;
    return ctx;
}

void CModelViewerView::InvalidateAllBuffers()
{
    if (!m_buffers) return;
    m_buffers->allBuffersInvalidated.fetch_add(1, std::memory_order_relaxed);
}

void CModelViewerView::RebuildPickCache()
{
    if (!m_buffers) return;
    m_buffers->pickCacheRequested.fetch_add(1, std::memory_order_relaxed);
}

void CModelViewerView::RenderScene(std::uint8_t pass, int)
{
    if (!m_buffers || Gl() == nullptr) return;
    ViewBuffersState& st = *m_buffers;
    // Loads mark everything on the pipe worker; the marks and the clear hooks
    // they ask for are taken in here, on the UI thread, before any pass (a pick
    // re-render included) reads the buffers or the selection.
    const int marks = st.allBuffersInvalidated.load(std::memory_order_relaxed);
    if (marks != st.invalidationsTaken) {
        st.invalidationsTaken = marks;
        st.book.InvalidateAll();
    }
    // A loaded model left the picture behind: the TINs draw untextured.
    if (m_files && m_files->textureDropped.exchange(0) != 0 && st.texture) {
        st.texture.reset();
        st.book.InvalidateAll();
    }
    if (st.recolourRequested.exchange(0) != 0) {
        for (auto& group : m_modelStore->m_groups)
            if (group)
                if (GroupGpuData* d = GroupGpuData::Find(*group)) d->rebuildRequested = 1;
        if (GroupGpuData* d = GroupGpuData::Find(m_modelStore->m_viewCloud)) d->rebuildRequested = 1;
        st.book.Kind(DrawableKind::GroupCloud).releasePending = 1;
        st.book.Kind(DrawableKind::ViewCloud).releasePending = 1;
    }
    const int overlays = st.hostOverlayChanges.load(std::memory_order_relaxed);
    if (overlays != st.hostOverlayChangesTaken) {
        st.hostOverlayChangesTaken = overlays;
        st.book.Kind(DrawableKind::HostPolygons).releasePending = 1;
    }
    const RenderBook::PendingHooks hooks = st.book.TakePendingHooks();
    if (hooks.clearSelection) ClearSelection();
    if (hooks.clearPickBuckets) {
        ClearPickBuckets();
        st.pickBuckets.clear();
        st.book.Kind(DrawableKind::Selection).releasePending = st.book.Kind(DrawableKind::Selection).built;
    }
    RenderContext ctx = MakeRenderContext();
    SceneRenderer::DeleteOrphanedBuffers(ctx);
    if (pass == kPassPick) {
        // A pick re-render has layers of its own: the picture's stay as they are.
        if (!st.pickLayers) st.pickLayers = std::make_unique<PickLayerSet>(*this);
        SceneRenderer::RenderScene(ctx, *st.pickLayers, pass, ViewMutex());
    } else {
        ViewLayers layers(*this);
        SceneRenderer::RenderScene(ctx, layers, pass, ViewMutex());
    }
    // The passes fold a point size index above 4 back into the setting.
    m_settings.pointSizeIndex = st.settings.pointSizeIndex;
}

bool CModelViewerView::RenderPickLayers()
{
    // Picking reads the store like a paint: only with the lock, never waiting.
    std::unique_lock lock(ViewMutex(), std::try_to_lock);
    if (!lock || !IsGlReady()) return false;
    makeCurrent();
    // Outside a frame the context holds whatever the last pass left: load the camera.
    GlFunctions& gl = *Gl();
    gl.glViewport(0, 0, m_clientWidth, m_clientHeight);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadMatrixf(ProjectionMatrix().constData());
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadMatrixf(ModelViewMatrix().constData());
    RenderScene(kPassPick, 0);
    BindWindowFramebuffer();
    return true;
}

short CModelViewerView::GetPointSizeIndex() { return m_settings.pointSizeIndex; }

std::size_t CModelViewerView::GetSelectedElementCount()
{
    return m_buffers ? m_buffers->selectedCadElements.size() : 0;
}

void CModelViewerView::ReleaseBuffersGl()
{
    if (!m_buffers || Gl() == nullptr) return;
    RenderContext ctx = MakeRenderContext();
    ViewBuffersState& st = *m_buffers;
    // Every group's data is released, whatever asked for a rebuild.
    for (auto& group : m_modelStore->m_groups)
        if (group)
            if (GroupGpuData* d = GroupGpuData::Find(*group)) d->rebuildRequested = 1;
    if (GroupGpuData* d = GroupGpuData::Find(m_modelStore->m_viewCloud)) d->rebuildRequested = 1;
    st.book.Kind(DrawableKind::Selection).built = 1;
    PointCloudPass::ReleaseGroupCloudPointBuffers(ctx);
    PointCloudPass::ReleaseViewCloudPointBuffers(ctx);
    for (auto source : {TinPasses::Source::Group, TinPasses::Source::ViewCloud, TinPasses::Source::Cad}) {
        TinPasses::ReleaseFaces(ctx, source);
        TinPasses::ReleaseTexturedFaces(ctx, source);
        TinPasses::ReleaseEdges(ctx, source);
        TinPasses::ReleaseVertices(ctx, source);
    }
    FigurePasses::ReleaseCadFigures(ctx);
    FigurePasses::ReleasePartLayer(ctx);
    HostPolygonPass::Release(ctx);
    for (int k = 0; k < StructurePasses::kKinds; ++k) {
        StructurePasses::ReleaseFaces(ctx, k);
        StructurePasses::ReleaseEdges(ctx, k);
        StructurePasses::ReleaseVertices(ctx, k);
    }
    SceneRenderer::DeleteOrphanedBuffers(ctx);
    st.overlayGl->Release(*Gl());
    if (st.pickLayers) st.pickLayers->Release();
    st.texture.reset();
}

void CModelViewerView::ReleaseGroupCloudPointBuffers()
{
    RenderContext ctx = MakeRenderContext();
    PointCloudPass::ReleaseGroupCloudPointBuffers(ctx);
}

void CModelViewerView::ReleaseSelectionBuffers()
{
    RenderContext ctx = MakeRenderContext();
    PointCloudPass::ReleaseSelectionBuffers(ctx);
}

void CModelViewerView::ReleaseViewCloudPointBuffers()
{
    RenderContext ctx = MakeRenderContext();
    PointCloudPass::ReleaseViewCloudPointBuffers(ctx);
}

namespace {

void ReleaseFor(RenderContext ctx, TinPasses::Source source, void (*release)(RenderContext&, TinPasses::Source))
{
    release(ctx, source);
}

}  // namespace

void CModelViewerView::ReleaseGroupTinFaceBuffers()
{
    ReleaseFor(MakeRenderContext(), TinPasses::Source::Group, TinPasses::ReleaseFaces);
}

void CModelViewerView::ReleaseGroupTinEdgeBuffers()
{
    ReleaseFor(MakeRenderContext(), TinPasses::Source::Group, TinPasses::ReleaseEdges);
}

void CModelViewerView::ReleaseGroupTinVertexBuffers()
{
    ReleaseFor(MakeRenderContext(), TinPasses::Source::Group, TinPasses::ReleaseVertices);
}

void CModelViewerView::ReleaseViewCloudTinFaceBuffers()
{
    ReleaseFor(MakeRenderContext(), TinPasses::Source::ViewCloud, TinPasses::ReleaseFaces);
}

void CModelViewerView::ReleaseViewCloudTinTextureBuffers()
{
    ReleaseFor(MakeRenderContext(), TinPasses::Source::ViewCloud, TinPasses::ReleaseTexturedFaces);
}

void CModelViewerView::ReleaseViewCloudTinEdgeBuffers()
{
    ReleaseFor(MakeRenderContext(), TinPasses::Source::ViewCloud, TinPasses::ReleaseEdges);
}

void CModelViewerView::ReleaseViewCloudTinVertexBuffers()
{
    ReleaseFor(MakeRenderContext(), TinPasses::Source::ViewCloud, TinPasses::ReleaseVertices);
}

void CModelViewerView::ReleaseCadTinFaceBuffers()
{
    ReleaseFor(MakeRenderContext(), TinPasses::Source::Cad, TinPasses::ReleaseFaces);
}

void CModelViewerView::ReleaseCadTinTextureBuffers()
{
    ReleaseFor(MakeRenderContext(), TinPasses::Source::Cad, TinPasses::ReleaseTexturedFaces);
}

void CModelViewerView::ReleaseCadTinEdgeBuffers()
{
    ReleaseFor(MakeRenderContext(), TinPasses::Source::Cad, TinPasses::ReleaseEdges);
}

void CModelViewerView::ReleaseCadTinVertexBuffers()
{
    ReleaseFor(MakeRenderContext(), TinPasses::Source::Cad, TinPasses::ReleaseVertices);
}

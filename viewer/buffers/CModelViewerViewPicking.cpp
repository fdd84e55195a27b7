// The main view's selection and hover: the polygon selection over the store,
// the clear hooks, the drag hooks, the hover cache and the vertex-set cull.
#include "viewer/render/CModelViewerView.h"

#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/buffers/ViewPickState.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/render/ScreenPolygon.h"
#include "viewer/render/ScreenProjector.h"
#include "viewer/render/ViewConstants.h"

#include "outside/CModelDataMng.h"
#include "platform/MessageBox.h"

#include <QGuiApplication>

#include <algorithm>
#include <mutex>

namespace {

PolygonSelection::Keys KeyboardKeys()
{
    const Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
    return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier)};
}

bool HoversVertices(std::uint8_t toolMode)
{
    using namespace toolmode;
    return toolMode == kTinVertexEdit || (toolMode >= kCadEdit && toolMode <= 9);
}

}  // namespace

ScreenProjector CModelViewerView::CurrentProjector() const
{
    return ScreenProjector(ModelViewMatrix(), ProjectionMatrix(), {0, 0, m_clientWidth, m_clientHeight},
                           m_modelStore->GetRenderingCenterPt());
}

int CModelViewerView::SelectByScreenPolygon(const std::vector<QPoint>& polygon, int)
{
    ViewPickState& pick = *m_buffers->pick;
    // A new outline after a selection starts afresh: the repaint below clears the old one.
    pick.outlineCounts.clear();
    pick.previousOutline.clear();
    if (m_toolMode != toolmode::kNone) {
        update();
        return m_toolMode == toolmode::kCadEdit ? 1 : 0;
    }
    // The selection reads the store: only with the lock, never waiting for a load.
    std::unique_lock lock(ViewMutex(), std::try_to_lock);
    if (!lock) {
        tessara::MessageBox(filetexts::kBusy, filetexts::kCaption, tessara::MB_ICONWARNING);
        update();
        return 0;
    }
    const PolygonSelection::Keys keys = pick.keys ? pick.keys() : KeyboardKeys();
    int result = 0;
    if (!keys.shift && !keys.ctrl) ClearPickBuckets();
    if (m_clientWidth > 0 && m_clientHeight > 0) {
        PolygonSelection selection(*m_modelStore, CurrentProjector(), ScreenPolygon::FromMouse(polygon, m_clientHeight),
                                   m_editMode == 1);
        result = selection.Run(m_buffers->pickBuckets, keys);
    }
    RenderBook::KindState& kind = m_buffers->book.Kind(DrawableKind::Selection);
    kind.releasePending = kind.built;
    m_pickedPoint = -1;
    m_moved = false;
    // The selected points are drawn by the scene passes.
    InvalidateScene();
    return result;
}

void CModelViewerView::ClearPickBuckets()
{
    m_buffers->pickBuckets.clear();
    RenderBook::KindState& kind = m_buffers->book.Kind(DrawableKind::Selection);
    kind.releasePending = kind.built;
    m_pickedPoint = -1;
    m_moved = false;
}

void CModelViewerView::ClearSelection()
{
    ViewPickState& pick = *m_buffers->pick;
    m_buffers->selectedCadElements.clear();
    pick.toolSelection1.clear();
    pick.toolSelection2.clear();
    pick.pickedList.clear();
    pick.cadHighlightDirty = 1;
    pick.selectionPresent = 0;
}

int CModelViewerView::ClearPickedList()
{
    ViewPickState& pick = *m_buffers->pick;
    if (pick.pickedList.empty()) return 0;
    pick.pickedList.clear();
    pick.selectionPresent = 0;
    return 1;
}

void CModelViewerView::BeginEditSelection() { m_editPolygonActive = 1; }

void CModelViewerView::ResetDragState()
{
    m_inputScreenPoints.clear();
    m_inputModelPoints.clear();
    m_rubberBand.clear();
    m_inputPickIds.clear();
    m_moved = false;
    m_editPolygonActive = 0;
    m_rubberBandPresent = 0;
}

void CModelViewerView::EndDrag()
{
    RebuildPickCache();
    COpenGLBaseView::EndDrag();
}

void CModelViewerView::DragStep(QPoint mouse)
{
    ViewPickState& pick = *m_buffers->pick;
    if (m_dragMode != kDragNone) {
        pick.hoveredEdges.clear();
        pick.hoveredVertex.reset();
    } else if (HoversVertices(m_toolMode) || m_toolMode == toolmode::kTinEdgeSwap) {
        // A load holds the lock for as long as it reads: a mouse move then gets no
        // hover rather than freezing the window until the load ends.
        std::unique_lock lock(ViewMutex(), std::try_to_lock);
        if (!lock) {
            pick.hoveredEdges.clear();
            pick.hoveredVertex.reset();
        } else if (m_toolMode == toolmode::kTinEdgeSwap) {
            HoverPickEdge(mouse);
        } else {
            HoverPickVertex(mouse);
        }
    }
    COpenGLBaseView::DragStep(mouse);
}

int CModelViewerView::HoverPickVertex(QPoint pointer)
{
    ViewPickState& pick = *m_buffers->pick;
    pick.hoveredVertex.reset();
    if (m_toolMode != toolmode::kTinVertexEdit || m_settings.tinPointSwitch == 0) return 0;
    const HoverPickCache::Vertex* v = pick.cache.FindVertex(pointer.x(), pointer.y());
    if (v == nullptr) return 0;
    pick.hoveredVertex = *v;
    return 1;
}

int CModelViewerView::HoverPickEdge(QPoint pointer)
{
    ViewPickState& pick = *m_buffers->pick;
    pick.hoveredEdges.clear();
    if (m_settings.tinEdgeSwitch == 0) return 1;
    if (const auto e = pick.cache.FindEdge(pointer.x(), pointer.y())) pick.hoveredEdges.push_back(*e);
    return 1;
}

void CModelViewerView::RefillPickCache()
{
    ViewPickState& pick = *m_buffers->pick;
    pick.cache.Reset(m_clientWidth, m_clientHeight);
    const QMatrix4x4 camera = ProjectionMatrix() * ModelViewMatrix();
    std::copy(camera.constData(), camera.constData() + 16, pick.cacheCamera.begin());
    pick.cacheWidth = m_clientWidth;
    pick.cacheHeight = m_clientHeight;
    if (m_settings.tinEdgeSwitch == 0 && m_settings.tinPointSwitch == 0) return;
    const ScreenProjector projector = CurrentProjector();
    CModelDataMng& store = *m_modelStore;
    if (store.IsShowRootGroup() == 0) return;
    pick.cache.AddStore(store.m_viewCloud, projector, HoverPickCache::kKindViewCloud, -1);
    if (store.IsShowCADGroup() != 0 && store.IsShowCADTin() != 0)
        pick.cache.AddStore(store.m_cadTin, projector, HoverPickCache::kKindCadTin, -1);
    for (std::size_t g = 0; g < store.m_groups.size(); ++g) {
        const CPCloudMng* group = store.m_groups[g].get();
        if (group == nullptr || group->IsShowGroup() == 0 || group->IsShowTin() == 0) continue;
        pick.cache.AddStore(*group, projector, HoverPickCache::kKindGroup, static_cast<std::int32_t>(g));
    }
}

void CModelViewerView::ResetHoverPick()
{
    ViewPickState& pick = *m_buffers->pick;
    const int requests = m_buffers->pickCacheRequested.load(std::memory_order_relaxed);
    const QMatrix4x4 camera = ProjectionMatrix() * ModelViewMatrix();
    // Any camera or size change also makes the cache stale, however it came about.
    const bool moved = !std::equal(pick.cacheCamera.begin(), pick.cacheCamera.end(), camera.constData()) ||
                       pick.cacheWidth != m_clientWidth || pick.cacheHeight != m_clientHeight;
    if ((requests != pick.hoverRequestsTaken || moved) &&
        (m_toolMode == toolmode::kTinVertexEdit || m_toolMode == toolmode::kTinEdgeSwap))
        RefillPickCache();
    pick.hoverRequestsTaken = requests;
    pick.hoveredVertex.reset();
    pick.hoveredEdges.clear();
}


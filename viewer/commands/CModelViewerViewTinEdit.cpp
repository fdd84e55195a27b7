// Clicks in the TIN edit modes: removing the hovered vertex (mode 1) and swapping
// the hovered edge (mode 2). The hovered item was found on the screen cache
// without the lock; it is checked against the store under the lock, and a store
// changed since (a load, another edit) takes no edit.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "platform/MessageBoxService.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/buffers/ViewPickState.h"
#include "viewer/commands/FacePick.h"
#include "viewer/commands/TinEdit.h"
#include "viewer/render/ViewConstants.h"

#include <mutex>

namespace {

constexpr std::uint16_t kTinContent = 0x2A;  // group TINs, view cloud, CAD TIN

// The TIN kinds of the hovered items and of face picks.
constexpr std::uint8_t kGroupTin = HoverPickCache::kKindGroup;
constexpr std::uint8_t kViewCloudTin = HoverPickCache::kKindViewCloud;
constexpr std::uint8_t kCadTin = HoverPickCache::kKindCadTin;

CVertexMng* TinStore(CModelDataMng& store, std::uint8_t kind, std::int64_t group)
{
    switch (kind) {
    case kGroupTin:
        return store.GetGroup(group);
    case kViewCloudTin:
        return &store.m_viewCloud;
    case kCadTin:
        return &store.m_cadTin;
    default:
        return nullptr;
    }
}

// Whether triangle t of the store still has v1 and v2 as the ends of its edge `side`.
bool EdgeStillThere(const CVertexMng& tin, std::int32_t t, std::int32_t side, std::int32_t v1, std::int32_t v2)
{
    if (t < 0 || static_cast<std::size_t>(t) >= tin.m_triangles.size() || side < 0 || side > 2)
        return false;
    const CIndexedTriangle& tri = tin.m_triangles[static_cast<std::size_t>(t)];
    const auto a = static_cast<std::int64_t>(tri[side]);
    const auto b = static_cast<std::int64_t>(tri[(side + 1) % 3]);
    return (a == v1 && b == v2) || (a == v2 && b == v1);
}

} // namespace

void CModelViewerView::MarkTinKindForRebuild(std::uint8_t kind)
{
    RenderBook& book = BuffersState().book;
    const auto mark = [&book](std::initializer_list<DrawableKind> kinds) {
        for (DrawableKind k : kinds) {
            book.Kind(k).releasePending = 1;
            book.Kind(k).built = 0;
        }
    };
    if (kind == kGroupTin)
        mark({DrawableKind::GroupTinFaces, DrawableKind::GroupTinTextured, DrawableKind::GroupTinEdges,
              DrawableKind::GroupTinVertices});
    else if (kind == kViewCloudTin)
        mark({DrawableKind::ViewCloudTinFaces, DrawableKind::ViewCloudTinTextured, DrawableKind::ViewCloudTinEdges,
              DrawableKind::ViewCloudTinVertices});
    else if (kind == kCadTin)
        mark({DrawableKind::CadTinFaces, DrawableKind::CadTinTextured, DrawableKind::CadTinEdges,
              DrawableKind::CadTinVertices});
}

int CModelViewerView::ApplyTinEdit(int x, int y)
{
    if (IsBusy() != 0 || !BuffersState().pick)
        return 0;
    ViewPickState& pick = *BuffersState().pick;
    std::string failure;
    int attempted = 0;
    if (m_toolMode == toolmode::kTinEdgeSwap) {
        if (pick.hoveredEdges.empty())
            return 0;
        const HoverPickCache::Edge held = pick.hoveredEdges.front();
        pick.hoveredEdges.clear();
        CancelRefinement();
        {
            std::lock_guard lock(ViewMutex());
            CVertexMng* tin = TinStore(ModelStore(), held.kind, held.group);
            if (tin == nullptr || !EdgeStillThere(*tin, held.triangle, held.side, held.v1, held.v2))
                return 0;
            tinedit::SwapTinEdge(*tin, held.triangle, held.side,
                                 [&] { PushUndoSnapshotLocked(kTinContent, failure); });
            MarkTinKindForRebuild(held.kind);
            RebuildPickCache();
        }
        attempted = 1;
    } else if (m_toolMode == toolmode::kTinVertexEdit) {
        if (!pick.hoveredVertex)
            return 0;
        const HoverPickCache::Vertex held = *pick.hoveredVertex;
        pick.hoveredVertex.reset();
        CancelRefinement();
        {
            std::lock_guard lock(ViewMutex());
            CVertexMng* tin = TinStore(ModelStore(), held.kind, held.group);
            if (tin == nullptr || held.index < 0 || held.index >= tin->GetVertexSize())
                return 0;
            tinedit::RemoveTinVertex(*tin, held.index, m_settings.tinOption,
                                     [&] { PushUndoSnapshotLocked(kTinContent, failure); });
            MarkTinKindForRebuild(held.kind);
            RebuildPickCache();
        }
        attempted = 1;
    } else if (m_toolMode == toolmode::kTinFaceDelete) {
        // The face the picture shows in front under the click; hidden TINs and a
        // picture without faces offer none.
        if (m_settings.tinPictureMode == 0)
            return 0;
        CancelRefinement();
        {
            std::lock_guard lock(ViewMutex());
            const auto hit = FrontFaceAt(ModelStore(), CurrentProjector(), x, m_clientHeight - y);
            CVertexMng* tin = hit ? TinStore(ModelStore(), hit->kind, hit->group) : nullptr;
            if (tin == nullptr)
                return 0;
            tinedit::EraseTinTriangle(*tin, hit->triangle, [&] { PushUndoSnapshotLocked(kTinContent, failure); });
            MarkTinKindForRebuild(hit->kind);
            RebuildPickCache();
        }
        attempted = 1;
    }
    if (!failure.empty())
        ShowFilesMessage(failure, tessara::MB_OK | tessara::MB_ICONHAND);
    if (attempted != 0)
        InvalidateScene();
    return attempted;
}

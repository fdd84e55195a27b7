#include "viewer/buffers/RenderBook.h"

#include "viewer/buffers/BufferNameQueue.h"

RenderBook::RenderBook() : m_queue(std::make_shared<BufferNameQueue>())
{
    m_switches.fill(1);
}

void RenderBook::InvalidateAll()
{
    const auto mark = [this](DrawableKind kind) {
        KindState& k = Kind(kind);
        if (k.built != 0) k.releasePending = 1;
    };
    for (DrawableKind kind :
         {DrawableKind::GroupTinFaces, DrawableKind::GroupTinEdges, DrawableKind::GroupTinVertices,
          DrawableKind::GroupTinTextured, DrawableKind::ViewCloud, DrawableKind::ViewCloudTinFaces,
          DrawableKind::ViewCloudTinTextured, DrawableKind::ViewCloudTinEdges, DrawableKind::ViewCloudTinVertices,
          DrawableKind::CadTinFaces, DrawableKind::CadTinTextured, DrawableKind::CadTinEdges,
          DrawableKind::CadTinVertices})
        mark(kind);
    if (Kind(DrawableKind::CadFigure).built != 0) {
        mark(DrawableKind::CadFigure);
        m_clearSelectionPending = true;
    }
    mark(DrawableKind::PartLayer);
    if (Kind(DrawableKind::GroupCloud).built != 0) {
        mark(DrawableKind::GroupCloud);
        m_clearPickBucketsPending = true;
    }
    mark(DrawableKind::HostPolygons);
    // Every structure kind: a load may replace any of them, and their counts are
    // those of the last build.
    for (int k = static_cast<int>(DrawableKind::BuildTinFaces); k <= static_cast<int>(DrawableKind::ChimneyTinVertices); ++k)
        mark(static_cast<DrawableKind>(k));
}

RenderBook::PendingHooks RenderBook::TakePendingHooks()
{
    PendingHooks hooks;
    hooks.clearSelection = m_clearSelectionPending.exchange(false);
    hooks.clearPickBuckets = m_clearPickBucketsPending.exchange(false);
    return hooks;
}

bool RenderBook::FirstFailure(DrawableKind kind)
{
    bool& logged = m_failureLogged[static_cast<std::size_t>(kind)];
    const bool first = !logged;
    logged = true;
    return first;
}

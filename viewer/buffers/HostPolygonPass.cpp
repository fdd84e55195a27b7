#include "viewer/buffers/HostPolygonPass.h"

#include "viewer/buffers/FigureBuffers.h"
#include "viewer/buffers/FigurePasses.h"
#include "viewer/buffers/GlBufferOps.h"
#include "viewer/buffers/RenderBook.h"
#include "viewer/buffers/RenderContext.h"
#include "viewer/files/HostPolygonFile.h"
#include "viewer/render/ViewConstants.h"

#include "outside/CModelDataMng.h"

#include <vector>

namespace {

constexpr float kOverlayPointSize = 8.0f;

class Arrays {
public:
    explicit Arrays(const CModelDataMng& store) : m_store(store) {}
    void Add(PT p, std::uint32_t colour)
    {
        m_store.UserToModel(p);
        positions.insert(positions.end(), {static_cast<float>(p.x()), static_cast<float>(p.y()), static_cast<float>(p.z())});
        colours.insert(colours.end(), {static_cast<float>(colour & 0xFF) * kColourByteScale,
                                       static_cast<float>((colour >> 8) & 0xFF) * kColourByteScale,
                                       static_cast<float>((colour >> 16) & 0xFF) * kColourByteScale, 1.0f});
    }
    std::vector<float> positions;
    std::vector<float> colours;

private:
    const CModelDataMng& m_store;
};

bool Empty(const HostPolygonContent* c)
{
    return c == nullptr || (c->points.empty() && c->segments.empty() && c->polygons.empty());
}

}  // namespace

void HostPolygonPass::Build(RenderContext& ctx)
{
    RenderBook::KindState& kind = ctx.book.Kind(DrawableKind::HostPolygons);
    if (kind.built != 0 || ctx.figures == nullptr) return;
    FigureBuffers::HostOverlay& host = ctx.figures->host;
    host.pointVertices = 0;
    host.lineVertices = 0;
    Arrays a(ctx.store);
    if (ctx.hostOverlay != nullptr) {
        const HostPolygonContent& c = *ctx.hostOverlay;
        for (const auto& p : c.points) a.Add(p.pt, p.colour);
        host.pointVertices = static_cast<std::int32_t>(c.points.size());
        for (const auto& s : c.segments) {
            a.Add(s.from, s.colour);
            a.Add(s.to, s.colour);
            host.lineVertices += 2;
        }
        // Open polylines: the host repeats the first vertex to close one.
        for (const auto& poly : c.polygons)
            for (int i = 0; i + 1 < poly.poly.GetCount(); ++i) {
                a.Add(poly.poly[i], poly.colour);
                a.Add(poly.poly[i + 1], poly.colour);
                host.lineVertices += 2;
            }
    }
    if (!a.positions.empty()) {
        host.positions = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, a.positions);
        host.colours = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, a.colours);
    }
    kind.built = 1;
    kind.releasePending = 0;
}

void HostPolygonPass::Release(RenderContext& ctx)
{
    if (ctx.figures != nullptr) {
        FigureBuffers::HostOverlay& host = ctx.figures->host;
        GlBufferOps::Delete(ctx.gl, host.positions);
        GlBufferOps::Delete(ctx.gl, host.colours);
        host = {};
    }
    RenderBook::KindState& kind = ctx.book.Kind(DrawableKind::HostPolygons);
    kind.built = 0;
    kind.releasePending = 0;
}

void HostPolygonPass::Draw(RenderContext& ctx, unsigned char pass)
{
    // An emptied overlay keeps its old buffers until the next overlay arrives.
    if (Empty(ctx.hostOverlay)) return;
    if (ctx.book.Kind(DrawableKind::HostPolygons).releasePending != 0) Release(ctx);
    if (ctx.book.Switch(DrawSwitch::HostPolygons) == 0 || ctx.figures == nullptr) return;
    Build(ctx);
    const FigureBuffers::HostOverlay& host = ctx.figures->host;
    if (pass != kPassDisplay || host.positions == 0) return;
    GlFunctions& gl = ctx.gl;
    gl.glPushAttrib(GL_ENABLE_BIT | GL_POINT_BIT | GL_LINE_BIT | GL_COLOR_BUFFER_BIT | GL_HINT_BIT | GL_CURRENT_BIT);
    gl.glPointSize(kOverlayPointSize);
    gl.glLineWidth(FigurePasses::LineWidthOf(ctx.settings.cadLineWidth));
    gl.glBindBuffer(GL_ARRAY_BUFFER, host.positions);
    gl.glVertexPointer(3, GL_FLOAT, 0, nullptr);
    gl.glBindBuffer(GL_ARRAY_BUFFER, host.colours);
    gl.glColorPointer(4, GL_FLOAT, 0, nullptr);
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    gl.glEnableClientState(GL_COLOR_ARRAY);
    if (host.pointVertices > 0) {
        gl.glEnable(GL_POINT_SMOOTH);
        gl.glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
        gl.glEnable(GL_BLEND);
        gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        gl.glDrawArrays(GL_POINTS, 0, host.pointVertices);
        gl.glDisable(GL_POINT_SMOOTH);
        gl.glDisable(GL_BLEND);
    }
    if (host.lineVertices > 0) gl.glDrawArrays(GL_LINES, host.pointVertices, host.lineVertices);
    gl.glDisableClientState(GL_COLOR_ARRAY);
    gl.glDisableClientState(GL_VERTEX_ARRAY);
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl.glPopAttrib();
}

#include "viewer/buffers/StructurePasses.h"

#include "viewer/buffers/FaceColours.h"
#include "viewer/buffers/FigureBuffers.h"
#include "viewer/buffers/GlBufferOps.h"
#include "viewer/buffers/RenderBook.h"
#include "viewer/buffers/RenderContext.h"
#include "viewer/buffers/TinPasses.h"
#include "viewer/render/SceneExtents.h"
#include "viewer/render/ViewConstants.h"

#include "outside/CModelDataMng.h"

#include <vector>

namespace {

using namespace facecolours;

constexpr int kBuildSets = 6;
constexpr int kSlots = CModelDataMng::kStructureSlotCount;

// Slots of a kind: Build has the six sets 0..5, every other kind one slot.
struct SlotRange {
    int first;
    int count;
};

SlotRange SlotsOf(int kind) { return kind == 0 ? SlotRange{0, kBuildSets} : SlotRange{kBuildSets - 1 + kind, 1}; }

bool KindShown(const CModelDataMng& store, int kind)
{
    return store.IsShowRootGroup() != 0 && store.IsShow3DStructureGroup() != 0 &&
           store.m_nShowStructure[static_cast<std::size_t>(kind)] != 0;
}

// Model positions of the corners of every triangle of a store, with the first
// corner repeated (edge strips) or not.
std::vector<float> CornerPositions(const CModelDataMng& store, const CVertexMng& tin, bool closeStrip)
{
    std::vector<float> out;
    out.reserve(tin.m_triangles.size() * (closeStrip ? 12 : 9));
    for (const CIndexedTriangle& tri : tin.m_triangles) {
        const Corners c = ReadCorners(store, tin, tri);
        for (const auto& p : c.model) out.insert(out.end(), {p[0], p[1], p[2]});
        if (closeStrip) out.insert(out.end(), {c.model[0][0], c.model[0][1], c.model[0][2]});
    }
    return out;
}

void FinishKind(RenderBook& book, DrawableKind kind, int mode = -1)
{
    RenderBook::KindState& k = book.Kind(kind);
    k.built = 1;
    k.releasePending = 0;
    k.builtMode = mode;
}

void ClearKind(RenderBook& book, DrawableKind kind)
{
    RenderBook::KindState& k = book.Kind(kind);
    k.built = 0;
    k.releasePending = 0;
    k.builtMode = -1;
}

// firsts 4t and counts 4 of the edge strips of n triangles.
void EdgeStrips(std::int64_t n, std::vector<GLint>& firsts, std::vector<GLsizei>& counts)
{
    firsts.resize(static_cast<std::size_t>(n));
    counts.assign(static_cast<std::size_t>(n), 4);
    for (std::size_t i = 0; i < firsts.size(); ++i) firsts[i] = static_cast<GLint>(4 * i);
}

}  // namespace

DrawableKind StructurePasses::FaceKind(int kind)
{
    return static_cast<DrawableKind>(static_cast<int>(DrawableKind::BuildTinFaces) + 3 * kind);
}

DrawableKind StructurePasses::EdgeKind(int kind)
{
    return static_cast<DrawableKind>(static_cast<int>(DrawableKind::BuildTinEdges) + 3 * kind);
}

DrawableKind StructurePasses::VertexKind(int kind)
{
    return static_cast<DrawableKind>(static_cast<int>(DrawableKind::BuildTinVertices) + 3 * kind);
}

// ---- builders ---------------------------------------------------------------------

void StructurePasses::BuildFaces(RenderContext& ctx, int kind)
{
    if (ctx.book.Kind(FaceKind(kind)).built != 0 || ctx.figures == nullptr) return;
    const int mode = ctx.settings.tinPictureMode;
    const HeightScale scale = mode == 4 ? TinHeightScale(ctx, SceneExtents::kAllTinKinds) : HeightScale{};
    const SlotRange range = SlotsOf(kind);
    for (int s = range.first; s < range.first + range.count; ++s) {
        FigureBuffers::StructureFaces& out = ctx.figures->structureFaces[static_cast<std::size_t>(s)];
        std::vector<float> positions, normals;
        std::vector<std::uint32_t> colours;
        const std::size_t n = ctx.store.m_structure[static_cast<std::size_t>(s)].m_triangles.size() +
                              ctx.store.m_structure[static_cast<std::size_t>(kSlots + s)].m_triangles.size();
        positions.reserve(n * 9);
        normals.reserve(n * 9);
        if (mode == 2 || mode == 4) colours.reserve(n * 3);
        for (const CVertexMng* tin : {&ctx.store.m_structure[static_cast<std::size_t>(s)],
                                      &ctx.store.m_structure[static_cast<std::size_t>(kSlots + s)]})
            for (const CIndexedTriangle& tri : tin->m_triangles) {
                const Corners c = ReadCorners(ctx.store, *tin, tri);
                for (const auto& p : c.model) positions.insert(positions.end(), {p[0], p[1], p[2]});
                AppendNormal(normals, c.model);
                if (mode == 2) {
                    const std::uint32_t slope = SlopeColour(c, ctx.settings.paleSlopeColours);
                    colours.insert(colours.end(), {slope, slope, slope});
                } else if (mode == 4) {
                    for (const PT& u : c.user) colours.push_back(HeightColour(scale, ctx.settings.gradation, u.z()));
                }
            }
        if (positions.empty()) continue;
        out.positions = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, positions);
        out.normals = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, normals);
        out.colours = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, colours);
        out.triangles = static_cast<std::int64_t>(positions.size() / 9);
    }
    // The mode the faces were made in: another mode rebuilds them.
    FinishKind(ctx.book, FaceKind(kind), mode);
}

void StructurePasses::BuildEdges(RenderContext& ctx, int kind)
{
    if (ctx.book.Kind(EdgeKind(kind)).built != 0 || ctx.figures == nullptr) return;
    const SlotRange range = SlotsOf(kind);
    for (int s = range.first; s < range.first + range.count; ++s)
        for (int store : {s, kSlots + s}) {
            const CVertexMng& tin = ctx.store.m_structure[static_cast<std::size_t>(store)];
            if (tin.m_triangles.empty()) continue;
            ctx.figures->structureEdges[static_cast<std::size_t>(store)] =
                GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, CornerPositions(ctx.store, tin, true));
            ctx.figures->structureEdgeTriangles[static_cast<std::size_t>(store)] =
                static_cast<std::int64_t>(tin.m_triangles.size());
        }
    FinishKind(ctx.book, EdgeKind(kind));
}

void StructurePasses::BuildVertices(RenderContext& ctx, int kind)
{
    if (ctx.book.Kind(VertexKind(kind)).built != 0 || ctx.figures == nullptr) return;
    const SlotRange range = SlotsOf(kind);
    for (int s = range.first; s < range.first + range.count; ++s)
        for (int store : {s, kSlots + s}) {
            const CVertexMng& tin = ctx.store.m_structure[static_cast<std::size_t>(store)];
            if (tin.m_triangles.empty()) continue;
            ctx.figures->structureVertices[static_cast<std::size_t>(store)] =
                GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, CornerPositions(ctx.store, tin, false));
            ctx.figures->structureVertexTriangles[static_cast<std::size_t>(store)] =
                static_cast<std::int64_t>(tin.m_triangles.size());
        }
    FinishKind(ctx.book, VertexKind(kind));
}

// ---- releases ---------------------------------------------------------------------

void StructurePasses::ReleaseFaces(RenderContext& ctx, int kind)
{
    if (ctx.figures != nullptr) {
        const SlotRange range = SlotsOf(kind);
        for (int s = range.first; s < range.first + range.count; ++s) {
            FigureBuffers::StructureFaces& f = ctx.figures->structureFaces[static_cast<std::size_t>(s)];
            GlBufferOps::Delete(ctx.gl, f.positions);
            GlBufferOps::Delete(ctx.gl, f.normals);
            GlBufferOps::Delete(ctx.gl, f.colours);
            f.triangles = 0;
        }
    }
    ClearKind(ctx.book, FaceKind(kind));
}

void StructurePasses::ReleaseEdges(RenderContext& ctx, int kind)
{
    if (ctx.figures != nullptr) {
        const SlotRange range = SlotsOf(kind);
        for (int s = range.first; s < range.first + range.count; ++s)
            for (int store : {s, kSlots + s}) {
                GlBufferOps::Delete(ctx.gl, ctx.figures->structureEdges[static_cast<std::size_t>(store)]);
                ctx.figures->structureEdgeTriangles[static_cast<std::size_t>(store)] = 0;
            }
    }
    ClearKind(ctx.book, EdgeKind(kind));
}

void StructurePasses::ReleaseVertices(RenderContext& ctx, int kind)
{
    if (ctx.figures != nullptr) {
        const SlotRange range = SlotsOf(kind);
        for (int s = range.first; s < range.first + range.count; ++s)
            for (int store : {s, kSlots + s}) {
                GlBufferOps::Delete(ctx.gl, ctx.figures->structureVertices[static_cast<std::size_t>(store)]);
                ctx.figures->structureVertexTriangles[static_cast<std::size_t>(store)] = 0;
            }
    }
    ClearKind(ctx.book, VertexKind(kind));
}

// ---- passes -------------------------------------------------------------------------

void StructurePasses::DrawAll(RenderContext& ctx, unsigned char pass)
{
    DrawVertices(ctx, pass);
    DrawEdges(ctx, pass);
    if (ctx.settings.tinPictureMode != 0)
        for (int k = 0; k < kKinds; ++k) DrawFaces(ctx, k, pass);
}

void StructurePasses::DrawFaces(RenderContext& ctx, int kind, unsigned char pass)
{
    RenderBook::KindState& state = ctx.book.Kind(FaceKind(kind));
    // Faces made in another picture mode lack (or carry unneeded) colours.
    if (state.built != 0 && state.builtMode != ctx.settings.tinPictureMode) state.releasePending = 1;
    if (state.releasePending != 0) ReleaseFaces(ctx, kind);
    if (ctx.book.Switch(DrawSwitch::StructureFaces) == 0 || ctx.figures == nullptr) return;
    BuildFaces(ctx, kind);
    if (!KindShown(ctx.store, kind) || pass != kPassDisplay || state.built == 0) return;
    GlFunctions& gl = ctx.gl;
    const int mode = ctx.settings.tinPictureMode;
    const bool coloured = mode == 2 || mode == 4;
    gl.glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_CURRENT_BIT | GL_POINT_BIT | GL_LINE_BIT);
    TinPasses::SetupLitFaces(ctx, mode == 1 ? ctx.settings.faceMaterialIndex : 0);
    if (mode != 1) {
        gl.glEnable(GL_COLOR_MATERIAL);
        gl.glColor3f(1.0f, 1.0f, 1.0f);
    }
    const SlotRange range = SlotsOf(kind);
    for (int s = range.first; s < range.first + range.count; ++s) {
        const FigureBuffers::StructureFaces& f = ctx.figures->structureFaces[static_cast<std::size_t>(s)];
        if (f.positions == 0 || f.triangles <= 0) continue;
        gl.glBindBuffer(GL_ARRAY_BUFFER, f.positions);
        gl.glVertexPointer(3, GL_FLOAT, 0, nullptr);
        gl.glBindBuffer(GL_ARRAY_BUFFER, f.normals);
        gl.glNormalPointer(GL_FLOAT, 0, nullptr);
        gl.glEnableClientState(GL_VERTEX_ARRAY);
        gl.glEnableClientState(GL_NORMAL_ARRAY);
        if (coloured && f.colours != 0) {
            gl.glBindBuffer(GL_ARRAY_BUFFER, f.colours);
            gl.glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
            gl.glEnableClientState(GL_COLOR_ARRAY);
        }
        gl.glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(3 * f.triangles));
        gl.glDisableClientState(GL_COLOR_ARRAY);
        gl.glDisableClientState(GL_NORMAL_ARRAY);
        gl.glDisableClientState(GL_VERTEX_ARRAY);
    }
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl.glPopAttrib();
}

void StructurePasses::DrawEdges(RenderContext& ctx, unsigned char pass)
{
    if (ctx.settings.tinEdgeSwitch == 0 || ctx.figures == nullptr) return;
    GlFunctions& gl = ctx.gl;
    std::vector<GLint> firsts;
    std::vector<GLsizei> counts;
    for (int k = 0; k < kKinds; ++k) {
        if (ctx.book.Kind(EdgeKind(k)).releasePending != 0) ReleaseEdges(ctx, k);
        if (ctx.book.Switch(DrawSwitch::StructureEdges) == 0) continue;
        BuildEdges(ctx, k);
        if (!KindShown(ctx.store, k) || pass != kPassDisplay) continue;
        gl.glPointSize(1.0f);
        gl.glLineWidth(1.0f);
        gl.glColor3f(0.3f, 0.3f, 0.3f);
        const SlotRange range = SlotsOf(k);
        for (int s = range.first; s < range.first + range.count; ++s)
            for (int store : {s, kSlots + s}) {
                const GLuint buffer = ctx.figures->structureEdges[static_cast<std::size_t>(store)];
                const std::int64_t n = ctx.figures->structureEdgeTriangles[static_cast<std::size_t>(store)];
                if (buffer == 0 || n <= 0) continue;
                EdgeStrips(n, firsts, counts);
                gl.glBindBuffer(GL_ARRAY_BUFFER, buffer);
                gl.glVertexPointer(3, GL_FLOAT, 0, nullptr);
                gl.glEnableClientState(GL_VERTEX_ARRAY);
                gl.glMultiDrawArrays(GL_LINE_STRIP, firsts.data(), counts.data(), static_cast<GLsizei>(n));
                gl.glDisableClientState(GL_VERTEX_ARRAY);
                gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
            }
    }
}

void StructurePasses::DrawVertices(RenderContext& ctx, unsigned char pass)
{
    if (ctx.settings.tinVertexSwitch == 0 || ctx.figures == nullptr) return;
    GlFunctions& gl = ctx.gl;
    for (int k = 0; k < kKinds; ++k) {
        if (ctx.book.Kind(VertexKind(k)).releasePending != 0) ReleaseVertices(ctx, k);
        if (ctx.book.Switch(DrawSwitch::StructureVertices) == 0) continue;
        BuildVertices(ctx, k);
        if (!KindShown(ctx.store, k) || pass != kPassDisplay) continue;
        gl.glPointSize(3.0f);
        gl.glColor3f(0.8f, 0.0f, 0.0f);
        const SlotRange range = SlotsOf(k);
        for (int s = range.first; s < range.first + range.count; ++s)
            for (int store : {s, kSlots + s}) {
                const GLuint buffer = ctx.figures->structureVertices[static_cast<std::size_t>(store)];
                const std::int64_t n = ctx.figures->structureVertexTriangles[static_cast<std::size_t>(store)];
                if (buffer == 0 || n <= 0) continue;
                gl.glBindBuffer(GL_ARRAY_BUFFER, buffer);
                gl.glVertexPointer(3, GL_FLOAT, 0, nullptr);
                gl.glEnableClientState(GL_VERTEX_ARRAY);
                gl.glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(3 * n));
                gl.glDisableClientState(GL_VERTEX_ARRAY);
                gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
            }
    }
}

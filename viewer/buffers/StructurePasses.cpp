#include "viewer/buffers/StructurePasses.h"

#include "viewer/buffers/FaceColours.h"
#include "viewer/buffers/FigureBuffers.h"
#include "viewer/buffers/GlBufferOps.h"
#include "viewer/buffers/PointCloudPass.h"
#include "viewer/buffers/RenderBook.h"
#include "viewer/buffers/RenderContext.h"
#include "viewer/buffers/StagedFill.h"
#include "viewer/buffers/TinPasses.h"
#include "viewer/render/SceneExtents.h"
#include "viewer/render/ViewConstants.h"

#include "outside/CModelDataMng.h"

#include <algorithm>
#include <array>
#include <cstring>
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

// The fewest triangles a worker of a build takes on.
constexpr std::size_t kMinTrianglesPerWorker = std::size_t{1} << 15;

// The corners of a store's triangles in model coordinates, read straight from
// its vertex array. A corner the store cannot give collapses the triangle as
// ReadCorners collapses it.
class CornerReader {
public:
    CornerReader(const CModelDataMng& store, const CVertexMng& tin)
        : m_store(store), m_tin(tin), m_model(store), m_vertices(tin.m_vertices.data()), m_count(tin.m_vertices.size())
    {
    }
    //! The three corners as nine floats from out on.
    void Read(const CIndexedTriangle& tri, float* out) const
    {
        if (tri[0] < m_count && tri[1] < m_count && tri[2] < m_count) {
            for (int k = 0; k < 3; ++k) {
                const CVertexMng::Vertex& v = m_vertices[tri[k]];
                m_model.Write(v.x, v.y, v.z, out + 3 * k);
            }
            return;
        }
        const Corners c = ReadCorners(m_store, m_tin, tri);
        std::memcpy(out, c.model, sizeof(c.model));
    }

private:
    const CModelDataMng& m_store;
    const CVertexMng& m_tin;
    stagedfill::ModelPoints m_model;
    const CVertexMng::Vertex* m_vertices;
    std::size_t m_count;
};

// Per-triangle rows of a store's triangles in N buffers, written in parallel:
// triangle t's row of widths[i] floats lands at out[i] + (first + t) * widths[i].
// Each row of the first buffer starts with the nine corner floats; put(t, rows)
// then writes the rest of triangle t's rows.
template <std::size_t N, class Put>
void WriteTriangles(const CModelDataMng& store, const CVertexMng& tin, std::size_t first,
                    const std::array<float*, N>& out, const std::array<std::size_t, N>& widths, const Put& put)
{
    const CornerReader reader(store, tin);
    const CIndexedTriangle* triangles = tin.m_triangles.data();
    stagedfill::WriteRows<N>(tin.m_triangles.size(), kMinTrianglesPerWorker, first, out, widths,
                             [&](std::size_t t, const std::array<float*, N>& rows) {
                                 reader.Read(triangles[t], rows[0]);
                                 put(t, rows);
                             });
}

// A buffer of the corners of every triangle of a store, the first corner repeated
// (edge strips) or not.
GLuint CornerBuffer(RenderContext& ctx, const CVertexMng& tin, bool closeStrip)
{
    const std::size_t width = closeStrip ? 12 : 9;
    return GlBufferOps::Build<float>(
        ctx.gl, ctx.book, tin.m_triangles.size() * width,
        [&](float* out) {
            WriteTriangles<1>(ctx.store, tin, 0, {out}, {width},
                              [closeStrip](std::size_t, const std::array<float*, 1>& rows) {
                                  if (closeStrip)
                                      for (int k = 0; k < 3; ++k) rows[0][9 + k] = rows[0][k];
                              });
        },
        &ctx.figures->storage);
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
    PointCloudPass::AskHostStorage(ctx);
    const int mode = ctx.settings.tinPictureMode;
    const HeightScale scale = mode == 4 ? TinHeightScale(ctx, SceneExtents::kAllTinKinds) : HeightScale{};
    const SlotRange range = SlotsOf(kind);
    for (int s = range.first; s < range.first + range.count; ++s) {
        FigureBuffers::StructureFaces& out = ctx.figures->structureFaces[static_cast<std::size_t>(s)];
        const CVertexMng* tins[2] = {&ctx.store.m_structure[static_cast<std::size_t>(s)],
                                     &ctx.store.m_structure[static_cast<std::size_t>(kSlots + s)]};
        const std::size_t first = tins[0]->m_triangles.size();
        const std::size_t n = first + tins[1]->m_triangles.size();
        if (n == 0) continue;
        BufferStorage* storage = &ctx.figures->storage;
        // Positions, normals and (in the modes that have them) colours in one
        // sweep: the first store's triangles, then the second's.
        const bool coloured = mode == 2 || mode == 4;
        const std::array<GLuint, 3> names = GlBufferOps::BuildSet<3>(
            ctx.gl, ctx.book,
            {n * 9 * sizeof(float), n * 9 * sizeof(float), coloured ? n * 3 * sizeof(std::uint32_t) : 0},
            [&](const std::array<void*, 3>& o) {
                const std::array<float*, 3> targets{static_cast<float*>(o[0]), static_cast<float*>(o[1]),
                                                    static_cast<float*>(o[2])};
                const auto normal = [](const float* c, float* to) {
                    const float corners[3][3] = {{c[0], c[1], c[2]}, {c[3], c[4], c[5]}, {c[6], c[7], c[8]}};
                    WriteNormal(to, corners);
                };
                for (int i = 0; i < 2; ++i) {
                    const CVertexMng& tin = *tins[i];
                    const std::size_t offset = i == 0 ? 0 : first;
                    if (!coloured) {
                        WriteTriangles<2>(ctx.store, tin, offset, {targets[0], targets[1]}, {9, 9},
                                          [&](std::size_t, const std::array<float*, 2>& rows) {
                                              normal(rows[0], rows[1]);
                                          });
                        continue;
                    }
                    WriteTriangles<3>(ctx.store, tin, offset, targets, {9, 9, 3},
                                      [&](std::size_t t, const std::array<float*, 3>& rows) {
                                          normal(rows[0], rows[1]);
                                          const Corners c = ReadCorners(ctx.store, tin, tin.m_triangles[t]);
                                          std::uint32_t colour[3];
                                          if (mode == 2) {
                                              colour[0] = SlopeColour(c, ctx.settings.paleSlopeColours);
                                              colour[1] = colour[2] = colour[0];
                                          } else {
                                              for (int k = 0; k < 3; ++k)
                                                  colour[k] = HeightColour(scale, ctx.settings.gradation,
                                                                           c.user[k].z());
                                          }
                                          std::memcpy(rows[2], colour, sizeof(colour));
                                      });
                }
            },
            storage);
        out.positions = names[0];
        out.normals = names[1];
        out.colours = names[2];
        out.triangles = static_cast<std::int64_t>(n);
    }
    // The mode the faces were made in: another mode rebuilds them.
    FinishKind(ctx.book, FaceKind(kind), mode);
}

namespace {

// The corner buffers of a kind's structures, as edges (each triangle closed) or as
// vertices, with the triangle count each was built from.
void BuildCorners(RenderContext& ctx, int kind, bool edges)
{
    const DrawableKind drawable = edges ? StructurePasses::EdgeKind(kind) : StructurePasses::VertexKind(kind);
    if (ctx.book.Kind(drawable).built != 0 || ctx.figures == nullptr) return;
    PointCloudPass::AskHostStorage(ctx);
    auto& buffers = edges ? ctx.figures->structureEdges : ctx.figures->structureVertices;
    auto& triangles = edges ? ctx.figures->structureEdgeTriangles : ctx.figures->structureVertexTriangles;
    const SlotRange range = SlotsOf(kind);
    for (int s = range.first; s < range.first + range.count; ++s)
        for (int store : {s, kSlots + s}) {
            const CVertexMng& tin = ctx.store.m_structure[static_cast<std::size_t>(store)];
            if (tin.m_triangles.empty()) continue;
            buffers[static_cast<std::size_t>(store)] = CornerBuffer(ctx, tin, edges);
            triangles[static_cast<std::size_t>(store)] = static_cast<std::int64_t>(tin.m_triangles.size());
        }
    FinishKind(ctx.book, drawable);
}

}  // namespace

void StructurePasses::BuildEdges(RenderContext& ctx, int kind) { BuildCorners(ctx, kind, true); }

void StructurePasses::BuildVertices(RenderContext& ctx, int kind) { BuildCorners(ctx, kind, false); }

// ---- releases ---------------------------------------------------------------------

void StructurePasses::ReleaseFaces(RenderContext& ctx, int kind)
{
    if (ctx.figures != nullptr) {
        const SlotRange range = SlotsOf(kind);
        for (int s = range.first; s < range.first + range.count; ++s) {
            FigureBuffers::StructureFaces& f = ctx.figures->structureFaces[static_cast<std::size_t>(s)];
            for (GLuint* name : {&f.positions, &f.normals, &f.colours})
                GlBufferOps::Delete(ctx.gl, *name, ctx.book, ctx.figures->storage);
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
                GlBufferOps::Delete(ctx.gl, ctx.figures->structureEdges[static_cast<std::size_t>(store)], ctx.book,
                                    ctx.figures->storage);
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
                GlBufferOps::Delete(ctx.gl, ctx.figures->structureVertices[static_cast<std::size_t>(store)], ctx.book,
                                    ctx.figures->storage);
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

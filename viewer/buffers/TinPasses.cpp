#include "viewer/buffers/TinPasses.h"
#include "platform/Log.h"

#include "viewer/buffers/FaceColours.h"
#include "viewer/buffers/GlBufferOps.h"
#include "viewer/buffers/GradationLookup.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/RenderBook.h"
#include "viewer/buffers/RenderContext.h"
#include "viewer/render/Materials.h"
#include "viewer/render/SceneExtents.h"
#include "viewer/render/SlopeClasses.h"

#include "outside/CModelDataMng.h"
#include "outside/GeoFunc.h"
#include "outside/StoreMarkers.h"
#include "outside/MTRX.h"


#include <cmath>
#include <functional>
#include <new>
#include <vector>

namespace {

using namespace facecolours;
using Source = TinPasses::Source;

enum FaceBuffer { kFacePositions, kFaceNormals, kFacePicks, kFaceColours };
enum TexturedBuffer { kTexPositions, kTexNormals, kTexCoords, kTexIndices, kTexPicks };
enum EdgeBuffer { kEdgePositions, kEdgePicks };

// The stores of one source: every group, or the one view cloud or CAD TIN.
void ForEachStore(RenderContext& ctx, Source source, const std::function<void(CPCloudMng&)>& fn)
{
    switch (source) {
    case Source::Group:
        for (auto& group : ctx.store.m_groups)
            if (group) fn(*group);
        break;
    case Source::ViewCloud: fn(ctx.store.m_viewCloud); break;
    case Source::Cad: fn(ctx.store.m_cadTin); break;
    }
}

bool IsVisible(const RenderContext& ctx, Source source, const CPCloudMng& store)
{
    if (ctx.store.IsShowRootGroup() == 0) return false;
    if (source == Source::Cad) return ctx.store.IsShowCADGroup() != 0 && ctx.store.IsShowCADTin() != 0;
    return store.IsShowGroup() != 0 && store.IsShowTin() != 0;
}

DrawSwitch FaceSwitch(Source s)
{
    return s == Source::Group ? DrawSwitch::GroupTinFaces
                              : (s == Source::ViewCloud ? DrawSwitch::ViewCloudTinFaces : DrawSwitch::CadTinFaces);
}

DrawSwitch TexturedSwitch(Source s)
{
    return s == Source::Group ? DrawSwitch::GroupTinTextured
                              : (s == Source::ViewCloud ? DrawSwitch::ViewCloudTinTextured : DrawSwitch::CadTinTextured);
}

// Checks a kind's uploads; on a GL failure its buffers go and it stays built
// with nothing to draw.
void FinishBuild(RenderContext& ctx, DrawableKind kind, Source source, int mode)
{
    if (GlBufferOps::HadError(ctx.gl)) {
        switch (kind) {
        case DrawableKind::GroupTinFaces: case DrawableKind::ViewCloudTinFaces: case DrawableKind::CadTinFaces:
            TinPasses::ReleaseFaces(ctx, source); break;
        case DrawableKind::GroupTinTextured: case DrawableKind::ViewCloudTinTextured: case DrawableKind::CadTinTextured:
            TinPasses::ReleaseTexturedFaces(ctx, source); break;
        case DrawableKind::GroupTinEdges: case DrawableKind::ViewCloudTinEdges: case DrawableKind::CadTinEdges:
            TinPasses::ReleaseEdges(ctx, source); break;
        default: TinPasses::ReleaseVertices(ctx, source); break;
        }
        if (ctx.book.FirstFailure(kind)) tessara::Log("TIN buffers could not be uploaded (kind %d)", static_cast<int>(kind));
    }
    RenderBook::KindState& state = ctx.book.Kind(kind);
    state.built = 1;
    state.releasePending = 0;
    state.builtMode = mode;
}

// firsts 4t and counts 4 for glMultiDrawArrays of the edge strips.
void EdgeStrips(std::int64_t n, const GLint*& firsts, const GLsizei*& counts)
{
    static std::vector<GLint> s_firsts;
    static std::vector<GLsizei> s_counts;
    const auto size = static_cast<std::size_t>(n);
    if (s_firsts.size() < size) {
        const std::size_t from = s_firsts.size();
        s_firsts.resize(size);
        s_counts.resize(size, 4);
        for (std::size_t i = from; i < size; ++i) s_firsts[i] = static_cast<GLint>(4 * i);
    }
    firsts = s_firsts.data();
    counts = s_counts.data();
}

}  // namespace

DrawableKind TinPasses::FaceKind(Source s)
{
    return s == Source::Group ? DrawableKind::GroupTinFaces
                              : (s == Source::ViewCloud ? DrawableKind::ViewCloudTinFaces : DrawableKind::CadTinFaces);
}

DrawableKind TinPasses::TexturedKind(Source s)
{
    return s == Source::Group ? DrawableKind::GroupTinTextured
                              : (s == Source::ViewCloud ? DrawableKind::ViewCloudTinTextured : DrawableKind::CadTinTextured);
}

DrawableKind TinPasses::EdgeKind(Source s)
{
    return s == Source::Group ? DrawableKind::GroupTinEdges
                              : (s == Source::ViewCloud ? DrawableKind::ViewCloudTinEdges : DrawableKind::CadTinEdges);
}

DrawableKind TinPasses::VertexKind(Source s)
{
    return s == Source::Group ? DrawableKind::GroupTinVertices
                              : (s == Source::ViewCloud ? DrawableKind::ViewCloudTinVertices : DrawableKind::CadTinVertices);
}

void TinPasses::SetupLitFaces(RenderContext& ctx, std::uint16_t materialIndex)
{
    GlFunctions& gl = ctx.gl;
    gl.glPointSize(1.0f);
    gl.glLineWidth(1.0f);
    gl.glEnable(GL_LIGHTING);
    gl.glEnable(GL_NORMALIZE);
    gl.glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    const float position[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    gl.glLightfv(GL_LIGHT0, GL_POSITION, position);
    MaterialTable table;
    InitMaterialTable(table);
    TinPasses::ApplyFaceMaterial(ctx, GetMaterial(table, materialIndex));
}

// ---- builders -----------------------------------------------------------------

void TinPasses::BuildFaces(RenderContext& ctx, Source source, int pictureMode)
{
    const DrawableKind kind = FaceKind(source);
    if (ctx.book.Kind(kind).built != 0) return;
    const HeightScale scale = pictureMode == 4 ? TinHeightScale(ctx, SceneExtents::kAllTinKinds) : HeightScale{};
    GlBufferOps::ClearErrors(ctx.gl);
    try {
        ForEachStore(ctx, source, [&](CPCloudMng& tin) {
            GroupGpuData& data = GroupGpuData::Of(tin, ctx.book.NameQueue());
            const std::size_t n = tin.m_triangles.size();
            data.faceTriangles = 0;
            if (n == 0) return;
            std::vector<float> positions, normals;
            std::vector<std::uint32_t> picks, colours;
            positions.reserve(n * 9);
            normals.reserve(n * 9);
            picks.reserve(n * 3);
            if (pictureMode == 2 || pictureMode == 4) colours.reserve(n * 3);
            for (std::size_t t = 0; t < n; ++t) {
                const Corners c = ReadCorners(ctx.store, tin, tin.m_triangles[t]);
                for (const auto& p : c.model) positions.insert(positions.end(), {p[0], p[1], p[2]});
                AppendNormal(normals, c.model);
                const std::uint32_t pick = GlBufferOps::PickColour(t);
                picks.insert(picks.end(), {pick, pick, pick});
                if (pictureMode == 2) {
                    const std::uint32_t slope = SlopeColour(c, ctx.settings.paleSlopeColours);
                    colours.insert(colours.end(), {slope, slope, slope});
                } else if (pictureMode == 4) {
                    for (const PT& u : c.user) colours.push_back(HeightColour(scale, ctx.settings.gradation, u.z()));
                }
            }
            data.faceBuffers[kFacePositions] = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, positions);
            data.faceBuffers[kFaceNormals] = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, normals);
            data.faceBuffers[kFacePicks] = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, picks);
            data.faceBuffers[kFaceColours] = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, colours);
            data.faceTriangles = static_cast<std::int64_t>(n);
        });
    } catch (const std::bad_alloc&) {
        if (ctx.book.FirstFailure(kind)) tessara::Log("not enough memory for the TIN faces");
    }
    FinishBuild(ctx, kind, source, pictureMode);
}

void TinPasses::BuildTexturedFaces(RenderContext& ctx, Source source)
{
    const DrawableKind kind = TexturedKind(source);
    if (ctx.book.Kind(kind).built != 0) return;
    const TexturePlacement& place = ctx.placement;
    PT origin(place.x, place.y, 0.0);
    PT corner(place.x + place.width, place.y + place.height, 0.0);
    ctx.store.UserToModel(origin);
    ctx.store.UserToModel(corner);
    MTRX turn;
    turn.Move(-origin.x(), -origin.y());
    turn.Turn(-place.angle);
    turn.Move(origin.x(), origin.y());
    const auto spanX = static_cast<float>(corner.x() - origin.x());
    const auto spanY = static_cast<float>(corner.y() - origin.y());
    GlBufferOps::ClearErrors(ctx.gl);
    try {
        ForEachStore(ctx, source, [&](CPCloudMng& tin) {
            GroupGpuData& data = GroupGpuData::Of(tin, ctx.book.NameQueue());
            const std::size_t n = tin.m_triangles.size();
            data.texturedTriangles = 0;
            if (n == 0) return;
            std::vector<float> positions, normals, coords;
            std::vector<std::uint32_t> indices, picks;
            positions.reserve(n * 9);
            normals.reserve(n * 9);
            coords.reserve(n * 6);
            indices.reserve(n * 3);
            picks.reserve(n * 3);
            for (std::size_t t = 0; t < n; ++t) {
                const Corners c = ReadCorners(ctx.store, tin, tin.m_triangles[t]);
                for (int k = 0; k < 3; ++k) {
                    positions.insert(positions.end(), {c.model[k][0], c.model[k][1], c.model[k][2]});
                    double x = c.model[k][0];
                    double y = c.model[k][1];
                    turn.XY(&x, &y);
                    // A placement without width or height has no frame: coordinate 0.
                    const float s = spanX != 0.0f ? static_cast<float>(x - origin.x()) / spanX : 0.0f;
                    const float tt = spanY != 0.0f ? static_cast<float>(y - origin.y()) / spanY : 0.0f;
                    coords.insert(coords.end(), {s, tt});
                    indices.push_back(static_cast<std::uint32_t>(3 * t + static_cast<std::size_t>(k)));
                }
                AppendNormal(normals, c.model);
                const std::uint32_t pick = GlBufferOps::PickColour(t);
                picks.insert(picks.end(), {pick, pick, pick});
            }
            data.texturedBuffers[kTexPositions] = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, positions);
            data.texturedBuffers[kTexNormals] = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, normals);
            data.texturedBuffers[kTexCoords] = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, coords);
            data.texturedBuffers[kTexIndices] = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ELEMENT_ARRAY_BUFFER, indices);
            data.texturedBuffers[kTexPicks] = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, picks);
            data.texturedTriangles = static_cast<std::int64_t>(n);
        });
    } catch (const std::bad_alloc&) {
        if (ctx.book.FirstFailure(kind)) tessara::Log("not enough memory for the textured TIN faces");
    }
    FinishBuild(ctx, kind, source, 3);
}

void TinPasses::BuildEdges(RenderContext& ctx, Source source)
{
    const DrawableKind kind = EdgeKind(source);
    if (ctx.book.Kind(kind).built != 0) return;
    GlBufferOps::ClearErrors(ctx.gl);
    try {
        ForEachStore(ctx, source, [&](CPCloudMng& tin) {
            GroupGpuData& data = GroupGpuData::Of(tin, ctx.book.NameQueue());
            const std::size_t n = tin.m_triangles.size();
            data.edgeTriangles = 0;
            if (n == 0) return;
            std::vector<float> positions;
            std::vector<std::uint32_t> picks;
            positions.reserve(n * 12);
            picks.reserve(n * 4);
            for (std::size_t t = 0; t < n; ++t) {
                const Corners c = ReadCorners(ctx.store, tin, tin.m_triangles[t]);
                const std::uint32_t pick = GlBufferOps::PickColour(t);
                for (int k : {0, 1, 2, 0}) {
                    positions.insert(positions.end(), {c.model[k][0], c.model[k][1], c.model[k][2]});
                    picks.push_back(pick);
                }
            }
            data.edgeBuffers[kEdgePositions] = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, positions);
            data.edgeBuffers[kEdgePicks] = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, picks);
            data.edgeTriangles = static_cast<std::int64_t>(n);
        });
    } catch (const std::bad_alloc&) {
        if (ctx.book.FirstFailure(kind)) tessara::Log("not enough memory for the TIN edges");
    }
    FinishBuild(ctx, kind, source, 0);
}

void TinPasses::BuildVertices(RenderContext& ctx, Source source)
{
    const DrawableKind kind = VertexKind(source);
    if (ctx.book.Kind(kind).built != 0) return;
    // The view cloud's and CAD TIN's vertex kinds stay unbuilt while they have
    // no triangles, so they are looked at again on the next pass.
    if (source != Source::Group) {
        CPCloudMng& tin = source == Source::ViewCloud ? ctx.store.m_viewCloud : ctx.store.m_cadTin;
        if (tin.m_triangles.empty()) return;
    }
    GlBufferOps::ClearErrors(ctx.gl);
    try {
        ForEachStore(ctx, source, [&](CPCloudMng& tin) {
            GroupGpuData& data = GroupGpuData::Of(tin, ctx.book.NameQueue());
            data.vertexBufferPresent = 0;
            data.vertexDisplayCount = 0;
            const std::size_t n = tin.m_triangles.size();
            if (n == 0) return;
            std::vector<float> positions;
            std::vector<std::uint32_t> picks;
            positions.reserve(n * 9);
            if (source != Source::Group) picks.reserve(n * 3);
            for (std::size_t t = 0; t < n; ++t) {
                const CIndexedTriangle& tri = tin.m_triangles[t];
                const Corners c = ReadCorners(ctx.store, tin, tri);
                for (int k = 0; k < 3; ++k) {
                    positions.insert(positions.end(), {c.model[k][0], c.model[k][1], c.model[k][2]});
                    if (source != Source::Group) picks.push_back(GlBufferOps::PickColour(tri[k]));
                }
            }
            data.vertexDisplayBuffer = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, positions);
            data.vertexPickColourBuffer = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, picks);
            data.vertexDisplayCount = static_cast<std::int64_t>(n * 3);
            data.vertexBufferPresent = 1;
            if (source != Source::Group) return;
            data.vertexChunks.assign(tin.m_vertexChunks.size(), GroupGpuData::VertexChunk{});
            for (std::size_t i = 0; i < tin.m_vertexChunks.size(); ++i) {
                const GridCell& cell = tin.m_vertexChunks[i];
                if (cell.indices.empty()) continue;
                std::vector<float> chunkPositions;
                std::vector<std::uint32_t> chunkPicks;
                chunkPositions.reserve(cell.indices.size() * 3);
                chunkPicks.reserve(cell.indices.size());
                for (std::uint32_t v : cell.indices) {
                    float x = 0, y = 0, z = 0;
                    if (tin.GetVertexVal(v, x, y, z) == 0) continue;
                    float m[3];
                    ModelOf(ctx.store, PT(x, y, z), m);
                    chunkPositions.insert(chunkPositions.end(), {m[0], m[1], m[2]});
                    chunkPicks.push_back(GlBufferOps::PickColour(v));
                }
                GroupGpuData::VertexChunk& chunk = data.vertexChunks[i];
                chunk.pickPositions = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, chunkPositions);
                chunk.pickColours = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, chunkPicks);
                chunk.count = static_cast<std::int64_t>(chunkPicks.size());
            }
        });
    } catch (const std::bad_alloc&) {
        if (ctx.book.FirstFailure(kind)) tessara::Log("not enough memory for the TIN vertices");
    }
    FinishBuild(ctx, kind, source, 0);
}

// ---- releases -------------------------------------------------------------------

namespace {

void ClearKind(RenderContext& ctx, DrawableKind kind)
{
    RenderBook::KindState& state = ctx.book.Kind(kind);
    state.built = 0;
    state.releasePending = 0;
    state.builtMode = -1;
}

GroupGpuData* DataOf(CPCloudMng& tin) { return GroupGpuData::Find(tin); }

}  // namespace

void TinPasses::ReleaseFaces(RenderContext& ctx, Source source)
{
    ForEachStore(ctx, source, [&](CPCloudMng& tin) {
        if (GroupGpuData* d = DataOf(tin)) {
            for (GLuint& name : d->faceBuffers) GlBufferOps::Delete(ctx.gl, name);
            d->faceTriangles = 0;
        }
    });
    ClearKind(ctx, FaceKind(source));
}

void TinPasses::ReleaseTexturedFaces(RenderContext& ctx, Source source)
{
    ForEachStore(ctx, source, [&](CPCloudMng& tin) {
        if (GroupGpuData* d = DataOf(tin)) {
            for (GLuint& name : d->texturedBuffers) GlBufferOps::Delete(ctx.gl, name);
            d->texturedTriangles = 0;
        }
    });
    ClearKind(ctx, TexturedKind(source));
}

void TinPasses::ReleaseEdges(RenderContext& ctx, Source source)
{
    ForEachStore(ctx, source, [&](CPCloudMng& tin) {
        if (GroupGpuData* d = DataOf(tin)) {
            for (GLuint& name : d->edgeBuffers) GlBufferOps::Delete(ctx.gl, name);
            d->edgeTriangles = 0;
        }
    });
    ClearKind(ctx, EdgeKind(source));
}

void TinPasses::ReleaseVertices(RenderContext& ctx, Source source)
{
    ForEachStore(ctx, source, [&](CPCloudMng& tin) {
        if (GroupGpuData* d = DataOf(tin)) {
            GlBufferOps::Delete(ctx.gl, d->vertexDisplayBuffer);
            GlBufferOps::Delete(ctx.gl, d->vertexPickColourBuffer);
            d->vertexDisplayCount = 0;
            d->vertexBufferPresent = 0;
            for (GroupGpuData::VertexChunk& c : d->vertexChunks) {
                GlBufferOps::Delete(ctx.gl, c.pickPositions);
                GlBufferOps::Delete(ctx.gl, c.pickColours);
                c.count = 0;
            }
        }
    });
    ClearKind(ctx, VertexKind(source));
}

// ---- draw passes -------------------------------------------------------------------

void TinPasses::ApplyFaceMaterial(RenderContext& ctx, const GlMaterial& m)
{
    GlFunctions& gl = ctx.gl;
    const float ambient[4] = {0.4f, 0.4f, 0.4f, 1.0f};
    gl.glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    gl.glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m.ambient.data());
    gl.glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m.diffuse.data());
    gl.glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m.specular.data());
    gl.glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, m.shininess);
}

namespace {

void SetupPickFaces(GlFunctions& gl)
{
    GlBufferOps::DisablePickSpoilers(gl);
    gl.glPointSize(1.0f);
    gl.glLineWidth(1.0f);
    gl.glEnable(GL_NORMALIZE);
    gl.glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void BindArray(GlFunctions& gl, GLuint buffer, GLenum array, GLint size, GLenum type)
{
    gl.glBindBuffer(GL_ARRAY_BUFFER, buffer);
    switch (array) {
    case GL_VERTEX_ARRAY: gl.glVertexPointer(size, type, 0, nullptr); break;
    case GL_NORMAL_ARRAY: gl.glNormalPointer(type, 0, nullptr); break;
    case GL_COLOR_ARRAY: gl.glColorPointer(size, type, 0, nullptr); break;
    case GL_TEXTURE_COORD_ARRAY: gl.glTexCoordPointer(size, type, 0, nullptr); break;
    default: break;
    }
}

}  // namespace

void TinPasses::DrawFaces(RenderContext& ctx, Source source, unsigned char pass, int pictureMode)
{
    RenderBook::KindState& kind = ctx.book.Kind(FaceKind(source));
    // Buffers made for another picture mode lack (or carry unneeded) colours.
    if (kind.built != 0 && kind.builtMode != pictureMode) kind.releasePending = 1;
    if (kind.releasePending != 0) ReleaseFaces(ctx, source);
    if (ctx.book.Switch(FaceSwitch(source)) == 0) return;
    if (pass != kPassDisplay && pass != kPassPick) return;
    BuildFaces(ctx, source, pictureMode);
    if (kind.built == 0) return;

    GlFunctions& gl = ctx.gl;
    const bool coloured = pictureMode == 2 || pictureMode == 4;
    if (pass == kPassDisplay) {
        TinPasses::SetupLitFaces(ctx, pictureMode == 1 ? ctx.settings.faceMaterialIndex : 0);
        if (coloured) {
            gl.glEnable(GL_COLOR_MATERIAL);
            gl.glColor3f(1.0f, 1.0f, 1.0f);
        }
    } else {
        SetupPickFaces(gl);
    }
    ForEachStore(ctx, source, [&](CPCloudMng& tin) {
        GroupGpuData* d = DataOf(tin);
        if (d == nullptr || d->faceTriangles <= 0 || !IsVisible(ctx, source, tin)) return;
        BindArray(gl, d->faceBuffers[kFacePositions], GL_VERTEX_ARRAY, 3, GL_FLOAT);
        BindArray(gl, d->faceBuffers[kFaceNormals], GL_NORMAL_ARRAY, 3, GL_FLOAT);
        gl.glEnableClientState(GL_VERTEX_ARRAY);
        gl.glEnableClientState(GL_NORMAL_ARRAY);
        const GLuint colours = pass == kPassPick ? d->faceBuffers[kFacePicks] : (coloured ? d->faceBuffers[kFaceColours] : 0);
        if (colours != 0) {
            BindArray(gl, colours, GL_COLOR_ARRAY, 4, GL_UNSIGNED_BYTE);
            gl.glEnableClientState(GL_COLOR_ARRAY);
        }
        gl.glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(d->faceTriangles * 3));
        gl.glDisableClientState(GL_COLOR_ARRAY);
        gl.glDisableClientState(GL_NORMAL_ARRAY);
        gl.glDisableClientState(GL_VERTEX_ARRAY);
    });
    if (pass == kPassDisplay) {
        gl.glDisable(GL_LIGHTING);
        gl.glDisable(GL_COLOR_MATERIAL);
    }
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void TinPasses::RunTexturedRelease(RenderContext& ctx, Source source)
{
    if (ctx.book.Kind(TexturedKind(source)).releasePending != 0) ReleaseTexturedFaces(ctx, source);
}

void TinPasses::DrawTexturedFaces(RenderContext& ctx, Source source, unsigned char pass)
{
    if (ctx.texture == nullptr) return;
    RunTexturedRelease(ctx, source);
    if (ctx.book.Switch(TexturedSwitch(source)) == 0) return;
    if (pass != kPassDisplay && pass != kPassPick) return;
    BuildTexturedFaces(ctx, source);
    if (ctx.book.Kind(TexturedKind(source)).built == 0) return;

    GlFunctions& gl = ctx.gl;
    if (pass == kPassPick) SetupPickFaces(gl);
    ForEachStore(ctx, source, [&](CPCloudMng& tin) {
        GroupGpuData* d = DataOf(tin);
        if (d == nullptr || d->texturedTriangles <= 0 || !IsVisible(ctx, source, tin)) return;
        const auto count = static_cast<GLsizei>(d->texturedTriangles * 3);
        BindArray(gl, d->texturedBuffers[kTexPositions], GL_VERTEX_ARRAY, 3, GL_FLOAT);
        BindArray(gl, d->texturedBuffers[kTexNormals], GL_NORMAL_ARRAY, 3, GL_FLOAT);
        gl.glEnableClientState(GL_VERTEX_ARRAY);
        gl.glEnableClientState(GL_NORMAL_ARRAY);
        if (pass == kPassDisplay) {
            TinPasses::SetupLitFaces(ctx, 0);
            BindArray(gl, d->texturedBuffers[kTexCoords], GL_TEXTURE_COORD_ARRAY, 2, GL_FLOAT);
            gl.glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, d->texturedBuffers[kTexIndices]);
            gl.glEnable(GL_TEXTURE_2D);
            gl.glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, nullptr);
            gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
            gl.glDisable(GL_LIGHTING);
            gl.glDisable(GL_TEXTURE_2D);
            gl.glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        } else {
            BindArray(gl, d->texturedBuffers[kTexPicks], GL_COLOR_ARRAY, 4, GL_UNSIGNED_BYTE);
            gl.glEnableClientState(GL_COLOR_ARRAY);
            gl.glDrawArrays(GL_TRIANGLES, 0, count);
            gl.glDisableClientState(GL_COLOR_ARRAY);
        }
        gl.glDisableClientState(GL_NORMAL_ARRAY);
        gl.glDisableClientState(GL_VERTEX_ARRAY);
    });
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void TinPasses::DrawEdges(RenderContext& ctx, Source source, unsigned char pass)
{
    RenderBook::KindState& kind = ctx.book.Kind(EdgeKind(source));
    if (kind.releasePending != 0) ReleaseEdges(ctx, source);
    if (ctx.book.Switch(DrawSwitch::TinEdges) == 0) return;
    if (pass != kPassDisplay && pass != kPassPick) return;
    BuildEdges(ctx, source);
    if (kind.built == 0) return;

    GlFunctions& gl = ctx.gl;
    gl.glPointSize(1.0f);
    if (pass == kPassDisplay) {
        gl.glLineWidth(1.0f);
        gl.glColor3f(0.3f, 0.3f, 0.3f);
    } else {
        GlBufferOps::DisablePickSpoilers(gl);
        gl.glLineWidth(5.0f);
        gl.glEnableClientState(GL_COLOR_ARRAY);
    }
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    ForEachStore(ctx, source, [&](CPCloudMng& tin) {
        GroupGpuData* d = DataOf(tin);
        if (d == nullptr || d->edgeTriangles <= 0 || !IsVisible(ctx, source, tin)) return;
        BindArray(gl, d->edgeBuffers[kEdgePositions], GL_VERTEX_ARRAY, 3, GL_FLOAT);
        if (pass == kPassPick) BindArray(gl, d->edgeBuffers[kEdgePicks], GL_COLOR_ARRAY, 4, GL_UNSIGNED_BYTE);
        const GLint* firsts = nullptr;
        const GLsizei* counts = nullptr;
        EdgeStrips(d->edgeTriangles, firsts, counts);
        gl.glMultiDrawArrays(GL_LINE_STRIP, firsts, counts, static_cast<GLsizei>(d->edgeTriangles));
    });
    gl.glDisableClientState(GL_VERTEX_ARRAY);
    gl.glDisableClientState(GL_COLOR_ARRAY);
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void TinPasses::DrawVertices(RenderContext& ctx, Source source, unsigned char pass)
{
    if (source != Source::Group) {
        const CPCloudMng& tin = source == Source::ViewCloud ? ctx.store.m_viewCloud : ctx.store.m_cadTin;
        if (tin.m_triangles.empty()) return;
    }
    RenderBook::KindState& kind = ctx.book.Kind(VertexKind(source));
    if (kind.releasePending != 0) ReleaseVertices(ctx, source);
    if (ctx.book.Switch(DrawSwitch::TinVertices) == 0) return;
    if (pass != kPassDisplay && pass != kPassPick) return;
    BuildVertices(ctx, source);
    if (kind.built == 0) return;

    GlFunctions& gl = ctx.gl;
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    if (pass == kPassDisplay) {
        gl.glPointSize(3.0f);
        gl.glColor3f(0.8f, 0.0f, 0.0f);
    } else {
        GlBufferOps::DisablePickSpoilers(gl);
        gl.glPointSize(static_cast<float>(ctx.vertexPickTolerance));
        gl.glEnableClientState(GL_COLOR_ARRAY);
    }
    ForEachStore(ctx, source, [&](CPCloudMng& tin) {
        GroupGpuData* d = DataOf(tin);
        if (d == nullptr || d->vertexBufferPresent == 0 || !IsVisible(ctx, source, tin)) return;
        if (pass == kPassDisplay) {
            BindArray(gl, d->vertexDisplayBuffer, GL_VERTEX_ARRAY, 3, GL_FLOAT);
            gl.glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(d->vertexDisplayCount));
        } else if (source != Source::Group) {
            BindArray(gl, d->vertexDisplayBuffer, GL_VERTEX_ARRAY, 3, GL_FLOAT);
            BindArray(gl, d->vertexPickColourBuffer, GL_COLOR_ARRAY, 4, GL_UNSIGNED_BYTE);
            gl.glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(d->vertexDisplayCount));
        } else {
            // The pick layer is read anywhere in the window: every chunk is drawn.
            for (const GroupGpuData::VertexChunk& chunk : d->vertexChunks) {
                if (chunk.count <= 0) continue;
                BindArray(gl, chunk.pickPositions, GL_VERTEX_ARRAY, 3, GL_FLOAT);
                BindArray(gl, chunk.pickColours, GL_COLOR_ARRAY, 4, GL_UNSIGNED_BYTE);
                gl.glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(chunk.count));
            }
        }
    });
    gl.glDisableClientState(GL_COLOR_ARRAY);
    gl.glDisableClientState(GL_VERTEX_ARRAY);
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
}

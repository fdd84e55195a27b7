#include "viewer/buffers/FigurePasses.h"

#include "viewer/buffers/FigureBuffers.h"
#include "viewer/buffers/GlBufferOps.h"
#include "viewer/buffers/PointCloudPass.h"
#include "viewer/buffers/RenderBook.h"
#include "viewer/buffers/RenderContext.h"
#include "viewer/buffers/StagedFill.h"
#include "viewer/render/ViewConstants.h"

#include "outside/CModelDataMng.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint8_t kBigPointLayer = 50;
constexpr float kBigPointSize = 8.0f;
constexpr float kPointSize = 5.0f;
constexpr float kPartPointSize = 8.0f;
// The fewest segments or points a worker of a part build takes on.
constexpr std::size_t kMinPerWorker = std::size_t{1} << 15;

// A COLORREF as GL colour floats; 0 stands for white.
void AppendColour(std::vector<float>& colours, COLORREF c)
{
    if (c == 0) c = 0xFFFFFF;
    colours.insert(colours.end(), {static_cast<float>(c & 0xFF) * kColourByteScale,
                                   static_cast<float>((c >> 8) & 0xFF) * kColourByteScale,
                                   static_cast<float>((c >> 16) & 0xFF) * kColourByteScale, 1.0f});
}

// A COLORREF as four GL colour floats from out on; 0 stands for white.
void WriteColour(float* out, COLORREF c)
{
    if (c == 0) c = 0xFFFFFF;
    out[0] = static_cast<float>(c & 0xFF) * kColourByteScale;
    out[1] = static_cast<float>((c >> 8) & 0xFF) * kColourByteScale;
    out[2] = static_cast<float>((c >> 16) & 0xFF) * kColourByteScale;
    out[3] = 1.0f;
}

void AppendModel(const CModelDataMng& store, std::vector<float>& positions, PT p)
{
    store.UserToModel(p);
    positions.insert(positions.end(), {static_cast<float>(p.x()), static_cast<float>(p.y()), static_cast<float>(p.z())});
}

void BindArrays(GlFunctions& gl, GLuint positions, GLuint colours, GLint colourSize, GLenum colourType)
{
    gl.glBindBuffer(GL_ARRAY_BUFFER, positions);
    gl.glVertexPointer(3, GL_FLOAT, 0, nullptr);
    gl.glBindBuffer(GL_ARRAY_BUFFER, colours);
    gl.glColorPointer(colourSize, colourType, 0, nullptr);
}

void SmoothBlendedPoints(GlFunctions& gl)
{
    gl.glEnable(GL_BLEND);
    gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.glEnable(GL_POINT_SMOOTH);
    gl.glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
}

}  // namespace

float FigurePasses::LineWidthOf(int setting)
{
    return setting >= 1 && setting <= 4 ? static_cast<float>(setting + 1) : 1.0f;
}

// ---- CAD figures ------------------------------------------------------------------

void FigurePasses::BuildCadFigureSlot(RenderContext& ctx, int slotIndex)
{
    if (ctx.figures == nullptr || slotIndex < 0 || slotIndex >= CModelDataMng::kCadLayerCount) return;
    FigureBuffers::CadSlot& slot = ctx.figures->cad[static_cast<std::size_t>(slotIndex)];
    if (slot.built != 0) return;
    slot.pointVertices = 0;
    slot.lineVertices = 0;
    const CModelDataMng::CadLayer& layer = ctx.store.m_cadLayers[static_cast<std::size_t>(slotIndex)];
    std::vector<float> positions, colours;
    // Sweep 0 takes the point figures, sweep 1 the line figures: points come first.
    for (int sweep = 0; sweep < 2 && layer.present; ++sweep) {
        for (const CElmData& elm : ctx.store.m_elmList) {
            if (elm.m_nKind != layer.id || (elm.GetPointCount() >= 2) != (sweep == 1)) continue;
            std::int32_t& count = sweep == 0 ? slot.pointVertices : slot.lineVertices;
            elm.ForEachSegmentEnds([&](const PT& a, const PT& b) {
                for (const PT* end : {&a, &b}) {
                    AppendModel(ctx.store, positions, *end);
                    AppendColour(colours, elm.m_nColor);
                    ++count;
                }
            });
        }
    }
    if (!positions.empty()) {
        slot.positions = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, positions);
        slot.colours = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ARRAY_BUFFER, colours);
    }
    slot.built = 1;
}

void FigurePasses::ReleaseCadFigures(RenderContext& ctx)
{
    if (ctx.figures != nullptr)
        for (FigureBuffers::CadSlot& slot : ctx.figures->cad) {
            GlBufferOps::Delete(ctx.gl, slot.positions);
            GlBufferOps::Delete(ctx.gl, slot.colours);
            slot = {};
        }
    for (DrawableKind kind : {DrawableKind::CadFigure, DrawableKind::CadHighlight}) {
        RenderBook::KindState& k = ctx.book.Kind(kind);
        k.built = 0;
        k.releasePending = 0;
    }
}

void FigurePasses::DrawCadFigures(RenderContext& ctx, unsigned char pass)
{
    RenderBook& book = ctx.book;
    if (book.Kind(DrawableKind::CadFigure).releasePending != 0 || book.Kind(DrawableKind::CadHighlight).releasePending != 0)
        ReleaseCadFigures(ctx);
    // The CAD switch hides the figures, their point symbols included; pending
    // releases still run so the next showing builds from the store as it is.
    if (ctx.settings.cadSwitch == 0) return;
    if (book.Switch(DrawSwitch::CadFigures) == 0 || ctx.figures == nullptr) return;
    if (book.Kind(DrawableKind::CadFigure).built == 0) {
        for (int s = 0; s < CModelDataMng::kCadLayerCount; ++s) BuildCadFigureSlot(ctx, s);
        book.Kind(DrawableKind::CadFigure).built = 1;
    }
    book.Kind(DrawableKind::CadHighlight).built = 1;
    // The figures carry no pick colours.
    if (pass != kPassDisplay) return;
    if (ctx.store.IsShowRootGroup() == 0 || ctx.store.IsShowCADGroup() == 0) return;
    GlFunctions& gl = ctx.gl;
    gl.glPushAttrib(GL_ENABLE_BIT | GL_POINT_BIT | GL_LINE_BIT | GL_COLOR_BUFFER_BIT | GL_HINT_BIT);
    SmoothBlendedPoints(gl);
    gl.glLineWidth(LineWidthOf(ctx.settings.cadLineWidth));
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    gl.glEnableClientState(GL_COLOR_ARRAY);
    for (int s = 0; s < CModelDataMng::kCadLayerCount; ++s) {
        const FigureBuffers::CadSlot& slot = ctx.figures->cad[static_cast<std::size_t>(s)];
        const CModelDataMng::CadLayer& layer = ctx.store.m_cadLayers[static_cast<std::size_t>(s)];
        if (!layer.present || layer.show == 0 || slot.positions == 0) continue;
        gl.glPointSize(layer.id == kBigPointLayer ? kBigPointSize : kPointSize);
        BindArrays(gl, slot.positions, slot.colours, 4, GL_FLOAT);
        if (slot.pointVertices > 0) gl.glDrawArrays(GL_POINTS, 0, slot.pointVertices);
        if (slot.lineVertices > 0) gl.glDrawArrays(GL_LINES, slot.pointVertices, slot.lineVertices);
    }
    gl.glDisableClientState(GL_COLOR_ARRAY);
    gl.glDisableClientState(GL_VERTEX_ARRAY);
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl.glPopAttrib();
}

// ---- part drawing ------------------------------------------------------------------

namespace {

struct PartSource {
    const CVertexMng& vertices;
    const std::vector<CModelDataMng::PartLine>& lines;
    const CPCloudMng& points;
};

PartSource PartSourceOf(const CModelDataMng& store, int set)
{
    return set == 0 ? PartSource{store.m_partLineVertex3D, store.m_partLine3D, store.m_partPoint3D}
                    : PartSource{store.m_partLineVertex2D, store.m_partLine2D, store.m_partPoint2D};
}

}  // namespace

void FigurePasses::BuildPartLayer(RenderContext& ctx)
{
    RenderBook::KindState& kind = ctx.book.Kind(DrawableKind::PartLayer);
    if (kind.built != 0 || ctx.figures == nullptr) return;
    PointCloudPass::AskHostStorage(ctx);
    BufferStorage* storage = &ctx.figures->storage;
    for (int set = 0; set < 2; ++set) {
        const PartSource src = PartSourceOf(ctx.store, set);
        FigureBuffers::PartSet& out = ctx.figures->part[static_cast<std::size_t>(set)];
        const std::size_t segments = src.lines.size();
        // Every point the store holds reads back: the points follow the segments' pairs.
        const auto points = static_cast<std::size_t>(std::max<std::int64_t>(src.points.GetCloudPointSize(), 0));
        const std::size_t vertices = 2 * segments + points;
        if (vertices == 0) continue;
        const stagedfill::ModelPoints model(ctx.store);
        const CVertexMng::Vertex* ends = src.vertices.m_vertices.data();
        const auto endCount = static_cast<std::int64_t>(src.vertices.m_vertices.size());
        const CModelDataMng::PartLine* lines = src.lines.data();
        const CPCloudMng::CloudPoint* cloud = src.points.m_points.data();
        // Positions, colours and pick colours in one sweep: the segments' pairs,
        // then the points.
        const std::array<GLuint, 3> names = GlBufferOps::BuildSet<3>(
            ctx.gl, ctx.book, {vertices * 3 * sizeof(float), vertices * 4 * sizeof(float), vertices * sizeof(std::uint32_t)},
            [&](const std::array<void*, 3>& o) {
                const std::array<float*, 3> targets{static_cast<float*>(o[0]), static_cast<float*>(o[1]),
                                                    static_cast<float*>(o[2])};
                stagedfill::WriteRows<3>(
                    segments, kMinPerWorker, 0, targets, {6, 8, 2},
                    [&](std::size_t i, const std::array<float*, 3>& rows) {
                        const CModelDataMng::PartLine& line = lines[i];
                        const std::int32_t index[2] = {line.v1, line.v2};
                        // An end the store cannot give collapses the pair onto the other end.
                        float at[2][3] = {};
                        bool ok[2];
                        for (int k = 0; k < 2; ++k) {
                            ok[k] = index[k] >= 0 && index[k] < endCount;
                            if (ok[k]) {
                                const CVertexMng::Vertex& v = ends[index[k]];
                                at[k][0] = v.x;
                                at[k][1] = v.y;
                                at[k][2] = v.z;
                            }
                        }
                        if (!ok[0]) std::memcpy(at[0], at[1], sizeof(at[0]));
                        if (!ok[1]) std::memcpy(at[1], at[0], sizeof(at[1]));
                        model.Write(at[0][0], at[0][1], at[0][2], rows[0]);
                        model.Write(at[1][0], at[1][1], at[1][2], rows[0] + 3);
                        WriteColour(rows[1], line.value);
                        WriteColour(rows[1] + 4, line.value);
                        const std::uint32_t picks[2] = {GlBufferOps::PickColour(static_cast<std::uint32_t>(line.v1)),
                                                        GlBufferOps::PickColour(static_cast<std::uint32_t>(line.v2))};
                        std::memcpy(rows[2], picks, sizeof(picks));
                    });
                stagedfill::WriteRows<3>(points, kMinPerWorker, 2 * segments, targets, {3, 4, 1},
                                         [&](std::size_t p, const std::array<float*, 3>& rows) {
                                             const CPCloudMng::CloudPoint& pt = cloud[p];
                                             model.Write(pt.x, pt.y, pt.z, rows[0]);
                                             WriteColour(rows[1], pt.colour);
                                             const std::uint32_t pick = GlBufferOps::PickColour(p);
                                             std::memcpy(rows[2], &pick, sizeof(pick));
                                         });
            },
            storage);
        out.positions = names[0];
        out.colours = names[1];
        out.picks = names[2];
        out.segments = static_cast<std::int64_t>(segments);
        out.points = static_cast<std::int64_t>(points);
    }
    kind.built = 1;
    kind.releasePending = 0;
}

void FigurePasses::ReleasePartLayer(RenderContext& ctx)
{
    if (ctx.figures != nullptr)
        for (FigureBuffers::PartSet& set : ctx.figures->part) {
            for (GLuint* name : {&set.positions, &set.colours, &set.picks})
                GlBufferOps::Delete(ctx.gl, *name, ctx.book, ctx.figures->storage);
            set = {};
        }
    RenderBook::KindState& kind = ctx.book.Kind(DrawableKind::PartLayer);
    kind.built = 0;
    kind.releasePending = 0;
}

void FigurePasses::DrawPartLayer(RenderContext& ctx, unsigned char pass)
{
    RenderBook& book = ctx.book;
    if (book.Kind(DrawableKind::PartLayer).releasePending != 0) ReleasePartLayer(ctx);
    if (ctx.settings.partSwitch == 0) return;
    if (book.Switch(DrawSwitch::PartLayer) == 0 || ctx.figures == nullptr) return;
    BuildPartLayer(ctx);
    if (ctx.store.IsShowRootGroup() == 0 || ctx.store.IsShowPartGroup() == 0) return;
    if (pass != kPassDisplay && pass != kPassPick) return;
    GlFunctions& gl = ctx.gl;
    const bool lines = ctx.store.IsShowPartLn() != 0;
    const bool points = ctx.store.IsShowPartPt() != 0;
    gl.glPushAttrib(GL_ENABLE_BIT | GL_POINT_BIT | GL_LINE_BIT | GL_COLOR_BUFFER_BIT | GL_HINT_BIT);
    if (pass == kPassDisplay) {
        SmoothBlendedPoints(gl);
        gl.glPointSize(kPartPointSize);
        gl.glLineWidth(LineWidthOf(ctx.settings.partLineWidth));
    } else {
        GlBufferOps::DisablePickSpoilers(gl);
        gl.glPointSize(static_cast<float>(ctx.vertexPickTolerance));
    }
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    gl.glEnableClientState(GL_COLOR_ARRAY);
    const int sets = ctx.settings.unsetExclusion != 0 ? 1 : 2;
    for (int s = 0; s < sets; ++s) {
        const FigureBuffers::PartSet& set = ctx.figures->part[static_cast<std::size_t>(s)];
        if (set.positions == 0) continue;
        // Each set with its own positions and colours: its points follow its own segments.
        if (pass == kPassDisplay)
            BindArrays(gl, set.positions, set.colours, 4, GL_FLOAT);
        else
            BindArrays(gl, set.positions, set.picks, 4, GL_UNSIGNED_BYTE);
        const auto lineVertices = static_cast<GLsizei>(2 * set.segments);
        if (lines && lineVertices > 0) gl.glDrawArrays(pass == kPassDisplay ? GL_LINES : GL_POINTS, 0, lineVertices);
        if (points && set.points > 0) gl.glDrawArrays(GL_POINTS, lineVertices, static_cast<GLsizei>(set.points));
    }
    gl.glDisableClientState(GL_COLOR_ARRAY);
    gl.glDisableClientState(GL_VERTEX_ARRAY);
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl.glPopAttrib();
}

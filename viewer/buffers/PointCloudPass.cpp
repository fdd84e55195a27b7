#include "viewer/buffers/PointCloudPass.h"
#include "viewer/render/ViewConstants.h"
#include "platform/Log.h"

#include "platform/Parallel.h"

#include "viewer/buffers/GlBufferOps.h"
#include "viewer/buffers/GradationLookup.h"
#include "viewer/buffers/GradationTable.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/ModelAffine.h"
#include "viewer/buffers/PointFill.h"
#include "viewer/buffers/RenderBook.h"
#include "viewer/buffers/RenderContext.h"
#include "viewer/render/Materials.h"
#include "viewer/render/SceneExtents.h"

#include "outside/CModelDataMng.h"
#include "outside/GeoFunc.h"
#include "outside/StoreMarkers.h"

#include <QOpenGLContext>

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>
#include <vector>


#ifndef GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD
// GL_AMD_pinned_memory: a buffer whose storage is the client's memory.
#define GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD 0x9160
#endif

namespace {

constexpr int kChunks = GroupGpuData::kChunkCount;
constexpr float kColourScale = kColourByteScale;
// Clouds from this size are filled by several threads, at most this many.
constexpr std::size_t kParallelPoints = 1'000'000;
constexpr std::size_t kMaxFillThreads = 8;

float Red(COLORREF c) { return static_cast<float>(c & 0xFF) * kColourScale; }
float Green(COLORREF c) { return static_cast<float>((c >> 8) & 0xFF) * kColourScale; }
float Blue(COLORREF c) { return static_cast<float>((c >> 16) & 0xFF) * kColourScale; }

bool ChunkRange(const FrameState& frame, int& first, int& last)
{
    if (frame.pointsOnly != 0) {
        if (frame.refinementCounter < 0 || frame.refinementCounter >= kChunks) return false;
        first = last = frame.refinementCounter;
        return true;
    }
    first = frame.detailLevel < 0 ? 0 : frame.detailLevel;
    last = kChunks - 1;
    return first < kChunks;
}

bool IsDrawn(const CModelDataMng& store, const CPCloudMng& g, bool built)
{
    return built && store.IsShowRootGroup() != 0 && g.IsShowGroup() != 0 && g.IsShowPCloud() != 0;
}

}  // namespace

// How this build colours points: the colour mode with its ranges, read once.
struct PointCloudPass::Colouring {
    int mode = 0;
    bool viewCloud = false;
    bool heightKnown = false;
    bool heightFlat = false;
    double zmin = 1.0000000116860974e-07;
    double zmax = 1.0000000116860974e-07;
    bool intensityKnown = false;
    double imin = 0.0;
    double imax = 0.0;
    int bright = 0;
    bool shade = true;
    float mono[3] = {0, 0, 0};
    const std::vector<ColorConf>* stops = nullptr;
    ModelAffine affine;
};

PointCloudPass::Colouring PointCloudPass::PrepareColouring(RenderContext& ctx, bool viewCloud)
{
    Colouring c;
    const RenderSettings& s = ctx.settings;
    c.mode = s.colourMode;
    c.viewCloud = viewCloud;
    c.bright = s.brightPercent;
    c.shade = s.correctionHint == 0;
    c.mono[0] = Red(s.pointColour);
    c.mono[1] = Green(s.pointColour);
    c.mono[2] = Blue(s.pointColour);
    c.stops = s.gradation;
    c.affine = ModelAffine::Of(ctx.store);

    int kinds = s.colourMode == 1 ? SceneExtents::kCloudGroups : 0;
    if (s.tinPictureMode == 4) kinds |= SceneExtents::kAllTinKinds;
    const SceneExtents::Toggles toggles{s.colourMode, s.tinPictureMode, s.tinEdgeSwitch, s.tinVertexSwitch};
    PT lo(kUnsetDouble, kUnsetDouble, kUnsetDouble);
    PT hi(kUnsetDouble, kUnsetDouble, kUnsetDouble);
    if (kinds != 0 && SceneExtents::GetVisibleExtent(ctx.store, toggles, kinds, 0, lo, hi) != 0 &&
        !IsUnsetValue(lo.z()) && !IsUnsetValue(hi.z())) {
        c.heightKnown = true;
        c.zmin = lo.z();
        c.zmax = hi.z();
        c.heightFlat = _f_iszero(c.zmax - c.zmin);
    }
    if (c.mode == 4) c.intensityKnown = SceneExtents::GetVisibleIntensityRange(ctx.store, c.imin, c.imax) != 0;
    return c;
}

namespace {

// Where one build writes each chunk's arrays: into host memory that GL then
// takes as the buffers' storage, straight into mapped GL buffers, or (when the
// driver will not map) into host arrays uploaded afterwards.
class ChunkSinks {
public:
    ChunkSinks(GlFunctions& gl, RenderBook& book, const std::array<std::size_t, kChunks + 1>& start, bool colours)
        : m_gl(gl), m_book(book), m_start(start), m_colours(colours)
    {
    }

    //! Lays every chunk's arrays out in one block of host memory (a kept one
    //! when there is one of the size); false when there is no memory.
    bool UseHostStorage()
    {
        std::array<std::size_t, kChunks> positions{}, colours{}, picks{};
        std::size_t total = 0;
        const auto place = [&total](std::size_t bytes) {
            const std::size_t at = total;
            total += (bytes + kArrayAlignment - 1) / kArrayAlignment * kArrayAlignment;
            return at;
        };
        for (int c = 0; c < kChunks; ++c) {
            const auto k = static_cast<std::size_t>(c);
            positions[k] = place(Count(c) * 3 * sizeof(float));
            if (m_colours) colours[k] = place(Count(c) * sizeof(std::uint32_t));
            picks[k] = place(Count(c) * sizeof(std::uint32_t));
        }
        m_block = m_book.PointStorage().Take(total);
        if (!m_block) return false;
        unsigned char* base = m_block->Data();
        for (int c = 0; c < kChunks; ++c) {
            const auto k = static_cast<std::size_t>(c);
            m_positions[k] = reinterpret_cast<float*>(base + positions[k]);
            m_colourWords[k] = m_colours ? reinterpret_cast<std::uint32_t*>(base + colours[k]) : nullptr;
            m_picks[k] = reinterpret_cast<std::uint32_t*>(base + picks[k]);
        }
        m_mode = Mode::HostStorage;
        return true;
    }

    bool Map(GroupGpuData& data)
    {
        for (int c = 0; c < kChunks; ++c) {
            const std::size_t count = Count(c);
            if (count == 0) continue;
            const auto k = static_cast<std::size_t>(c);
            m_positions[k] = static_cast<float*>(MapNew(data.positionBuffers[k], count * 3 * sizeof(float)));
            if (m_colours)
                m_colourWords[k] =
                    static_cast<std::uint32_t*>(MapNew(data.colourBuffers[k], count * sizeof(std::uint32_t)));
            m_picks[k] = static_cast<std::uint32_t*>(MapNew(data.pickColourBuffers[k], count * sizeof(std::uint32_t)));
            if (m_positions[k] == nullptr || m_picks[k] == nullptr || (m_colours && m_colourWords[k] == nullptr))
                return false;
        }
        m_mode = Mode::Mapped;
        return true;
    }

    void UseHostArrays()
    {
        const std::size_t n = m_start[kChunks];
        m_hostPositions.resize(n * 3);
        m_hostPicks.resize(n);
        if (m_colours) m_hostColours.resize(n);
        for (int c = 0; c < kChunks; ++c) {
            const auto k = static_cast<std::size_t>(c);
            m_positions[k] = m_hostPositions.data() + m_start[k] * 3;
            m_picks[k] = m_hostPicks.data() + m_start[k];
            m_colourWords[k] = m_colours ? m_hostColours.data() + m_start[k] : nullptr;
        }
        m_mode = Mode::HostArrays;
    }

    //! Hands the host memory to GL, unmaps, or uploads the host arrays; false
    //! when GL lost the data.
    bool Finish(GroupGpuData& data)
    {
        bool ok = true;
        for (int c = 0; c < kChunks; ++c) {
            const std::size_t count = Count(c);
            if (count == 0) continue;
            const auto k = static_cast<std::size_t>(c);
            switch (m_mode) {
            case Mode::HostStorage:
                data.positionBuffers[k] = WrapHost(m_positions[k], count * 3 * sizeof(float));
                if (m_colours) data.colourBuffers[k] = WrapHost(m_colourWords[k], count * sizeof(std::uint32_t));
                data.pickColourBuffers[k] = WrapHost(m_picks[k], count * sizeof(std::uint32_t));
                break;
            case Mode::Mapped:
                ok = Unmap(data.positionBuffers[k]) && ok;
                if (m_colours) ok = Unmap(data.colourBuffers[k]) && ok;
                ok = Unmap(data.pickColourBuffers[k]) && ok;
                break;
            case Mode::HostArrays:
                data.positionBuffers[k] = GlBufferOps::Upload(m_gl, m_book, GL_ARRAY_BUFFER, m_positions[k],
                                                              count * 3 * sizeof(float));
                if (m_colours)
                    data.colourBuffers[k] = GlBufferOps::Upload(m_gl, m_book, GL_ARRAY_BUFFER, m_colourWords[k],
                                                                count * sizeof(std::uint32_t));
                data.pickColourBuffers[k] = GlBufferOps::Upload(m_gl, m_book, GL_ARRAY_BUFFER, m_picks[k],
                                                                count * sizeof(std::uint32_t));
                break;
            }
            data.pointCounts[k] = static_cast<std::int64_t>(count);
        }
        if (m_mode == Mode::HostStorage) {
            m_gl.glBindBuffer(GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD, 0);
            data.pointStorage = std::move(m_block);
        }
        m_gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
        return ok;
    }

    //! Unmaps what was mapped after a failed Map, leaving names to the release.
    void Abandon(GroupGpuData& data)
    {
        for (GLuint* list : {data.positionBuffers.data(), data.colourBuffers.data(), data.pickColourBuffers.data()})
            for (int c = 0; c < kChunks; ++c)
                if (list[c] != 0) {
                    Unmap(list[c]);
                    GlBufferOps::Delete(m_gl, list[c]);
                }
        m_gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    }

    std::array<float*, kChunks> m_positions{};
    std::array<std::uint32_t*, kChunks> m_colourWords{};
    std::array<std::uint32_t*, kChunks> m_picks{};

private:
    enum class Mode { HostStorage, Mapped, HostArrays };
    // Every array starts on a cache line, so whole slots go out as whole lines.
    static constexpr std::size_t kArrayAlignment = 64;

    std::size_t Count(int c) const
    {
        return m_start[static_cast<std::size_t>(c) + 1] - m_start[static_cast<std::size_t>(c)];
    }
    GLuint WrapHost(const void* memory, std::size_t bytes)
    {
        GLuint name = 0;
        m_gl.glGenBuffers(1, &name);
        m_gl.glBindBuffer(GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD, name);
        m_gl.glBufferData(GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD, static_cast<GLsizeiptr>(bytes), memory,
                          GL_STATIC_DRAW);
        m_book.CountUpload(bytes);
        return name;
    }
    void* MapNew(GLuint& name, std::size_t bytes)
    {
        m_gl.glGenBuffers(1, &name);
        m_gl.glBindBuffer(GL_ARRAY_BUFFER, name);
        m_gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), nullptr, GL_STATIC_DRAW);
        m_book.CountUpload(bytes);
        return m_gl.glMapBufferRange(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes),
                                     GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT);
    }
    bool Unmap(GLuint name)
    {
        GLint mapped = 0;
        m_gl.glBindBuffer(GL_ARRAY_BUFFER, name);
        m_gl.glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_MAPPED, &mapped);
        return mapped == 0 || m_gl.glUnmapBuffer(GL_ARRAY_BUFFER) == GL_TRUE;
    }

    GlFunctions& m_gl;
    RenderBook& m_book;
    const std::array<std::size_t, kChunks + 1>& m_start;
    bool m_colours;
    Mode m_mode = Mode::Mapped;
    std::unique_ptr<HostBlock> m_block;
    std::vector<float> m_hostPositions;
    std::vector<std::uint32_t> m_hostColours;
    std::vector<std::uint32_t> m_hostPicks;
};

}  // namespace

// What ColourWord reads besides the point.
struct PointCloudPass::ColourRule {
    const Colouring* col = nullptr;
    const GradationTable* table = nullptr;
    COLORREF groupColour = 0;
};

std::uint32_t PointCloudPass::ColourWord(const void* context, const CPCloudMng::CloudPoint& pt)
{
    const auto& rule = *static_cast<const ColourRule*>(context);
    const Colouring& col = *rule.col;
    const auto bright = [&](float v) { return col.bright != 0 ? ApplyBrightness(col.bright, v) : v; };
    const COLORREF colour = pt.colour == 0 ? 0xFFFFFFu : pt.colour;
    const float k = Red(colour);
    const float m = col.shade && !col.viewCloud ? (k - 0.5f) * 0.9f : 0.0f;
    const float o = col.shade ? k * 0.7f : 0.0f;
    float rgb[3];
    if (col.mode == 1 || col.mode == 4) {
        float r = 0.0f, g = 0.0f, b = 0.0f;
        if (col.mode == 4) {
            if (col.intensityKnown) {
                double i = pt.intensity;
                if (i > col.imax) i = col.imax;
                else if (i < col.imin) i = col.imin;
                const double t =
                    col.imin == col.imax ? 127.0 : (i - col.imin) * 255.0 / std::abs(col.imax - col.imin);
                rule.table->Lookup(static_cast<float>(t), r, g, b);
            }
        } else if (col.heightKnown && !col.heightFlat) {
            const double t = (static_cast<double>(pt.z) - col.zmin) * (255.0 / (col.zmax - col.zmin));
            if (t >= 0.0 && t <= 255.0) rule.table->Lookup(static_cast<float>(t), r, g, b);
        }
        if (col.mode == 1 && col.heightFlat) return GlBufferOps::PackRgba(bright(0.7f), bright(0.0f), bright(0.0f));
        return PointFill::GradationWord(r, g, b, o, col.bright);
    }
    if (col.viewCloud) {
        rgb[0] = Red(colour);
        rgb[1] = Green(colour);
        rgb[2] = Blue(colour);
    } else {
        if (col.mode == 3) {
            rgb[0] = col.mono[0] + m;
            rgb[1] = col.mono[1] + m;
            rgb[2] = col.mono[2] + m;
        } else if (col.mode == 5) {
            rgb[0] = Red(rule.groupColour) + m;
            rgb[1] = Green(rule.groupColour) + m;
            rgb[2] = Blue(rule.groupColour) + m;
        } else {
            rgb[0] = Red(colour);
            rgb[1] = Green(colour);
            rgb[2] = Blue(colour);
        }
        for (float& v : rgb) v = bright(v);
    }
    return GlBufferOps::PackRgba(rgb[0], rgb[1], rgb[2]);
}

void PointCloudPass::AskHostStorage(RenderContext& ctx)
{
    RenderBook& book = ctx.book;
    if (book.hostStorage != -1) return;
    book.hostStorage = 0;
    // Only where buffers live in host memory anyway, as on the software
    // renderers: a GPU would draw such buffers over the bus. Such a renderer
    // has read the vertices by the time a draw call returns, so released
    // memory may be written again by the next build.
    QOpenGLContext* context = QOpenGLContext::currentContext();
    const auto* renderer = reinterpret_cast<const char*>(ctx.gl.glGetString(GL_RENDERER));
    if (context == nullptr || renderer == nullptr || !context->hasExtension("GL_AMD_pinned_memory") ||
        (std::strstr(renderer, "llvmpipe") == nullptr && std::strstr(renderer, "softpipe") == nullptr))
        return;
    // One small buffer tells whether GL takes the memory.
    std::unique_ptr<HostBlock> block = HostBlock::Allocate(4096);
    if (!block) return;
    GlBufferOps::ClearErrors(ctx.gl);
    GLuint name = 0;
    ctx.gl.glGenBuffers(1, &name);
    ctx.gl.glBindBuffer(GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD, name);
    ctx.gl.glBufferData(GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD, 4096, block->Data(), GL_STATIC_DRAW);
    ctx.gl.glBindBuffer(GL_EXTERNAL_VIRTUAL_MEMORY_BUFFER_AMD, 0);
    const bool taken = !GlBufferOps::HadError(ctx.gl);
    ctx.gl.glDeleteBuffers(1, &name);
    ctx.gl.glFinish();
    book.hostStorage = taken ? 1 : 0;
}

bool PointCloudPass::BuildCloud(RenderContext& ctx, CPCloudMng& cloud, GroupGpuData& data,
                                const Colouring& col)
{
    const std::size_t n = cloud.m_points.size();
    if (n == 0) return false;

    // Chunk c holds points c, c + 100, ...: each chunk's arrays are written in
    // order while the store is read once, in order.
    std::array<std::size_t, kChunks + 1> start{};
    for (int c = 0; c < kChunks; ++c) {
        const auto k = static_cast<std::size_t>(c);
        const std::size_t count = n > k ? (n - 1 - k) / kChunks + 1 : 0;
        start[k + 1] = start[k] + count;
    }
    const bool withColours = !(col.viewCloud && (col.mode == 3 || col.mode == 5));
    ChunkSinks sinks(ctx.gl, ctx.book, start, withColours);
    if (!(ctx.book.allowHostStorage && ctx.book.hostStorage == 1 && sinks.UseHostStorage()) && !sinks.Map(data)) {
        sinks.Abandon(data);
        sinks.UseHostArrays();
    }

    // How each point gets its colour: a table lookup on its colour bytes, or
    // a gradation row on its level, chosen once for the whole build.
    const GradationTable table(col.stops);
    const ColourRule rule{&col, &table, cloud.m_nColor};
    auto colours = std::make_unique<PointFill::Colours>();
    PointFill::Colours& rules = *colours;
    using Kind = PointFill::ColourKind;
    const bool gradation = col.mode == 1 || col.mode == 4;
    const bool levels = col.mode == 1 ? col.heightKnown && !col.heightFlat : col.intensityKnown;
    if (!withColours)
        rules.kind = Kind::None;
    else if (gradation && levels)
        rules.kind = table.Indexed() ? (col.mode == 1 ? Kind::Height : Kind::Intensity) : Kind::Generic;
    else if (gradation || col.mode == 3 || (col.mode == 5 && !col.viewCloud))
        rules.kind = Kind::ByRed;  // the shade (or nothing) reads the red byte alone
    else
        rules.kind = Kind::ByChannel;
    const auto word = [&](COLORREF colour) {
        return ColourWord(&rule, CPCloudMng::CloudPoint{0.0f, 0.0f, 0.0f, colour, 0.0});
    };
    if (rules.kind == Kind::ByRed) {
        for (std::uint32_t v = 0; v < 256; ++v) rules.byRed[v] = word(v | 0x0100u);
    } else if (rules.kind == Kind::ByChannel) {
        // Each channel on its own; the other two kept non-zero so no colour is 0.
        for (std::uint32_t v = 0; v < 256; ++v)
            for (std::uint32_t ch = 0; ch < 3; ++ch) {
                const std::uint32_t shift = 8 * ch;
                const std::uint32_t other = 8 * ((ch + 1) % 3);
                rules.byChannel[ch][v] = word(v << shift | 1u << other) & (0xFFu << shift);
            }
        for (std::uint32_t& w : rules.byChannel[0]) w |= 0xFF000000u;
    } else if (rules.kind == Kind::Height || rules.kind == Kind::Intensity) {
        rules.table = &table;
        rules.brightPercent = col.bright;
        for (std::uint32_t v = 0; v < 256; ++v) rules.shadeByRed[v] = col.shade ? Red(v) * 0.7f : 0.0f;
        rules.zmin = col.zmin;
        rules.heightScale = 255.0 / (col.zmax - col.zmin);
        rules.imin = col.imin;
        rules.imax = col.imax;
        rules.intensitySpan = std::abs(col.imax - col.imin);
    } else if (rules.kind == Kind::Generic) {
        rules.perPoint = &ColourWord;
        rules.context = &rule;
    }

    PointFill::Targets targets;
    targets.positions = sinks.m_positions;
    targets.picks = sinks.m_picks;
    if (withColours) targets.colours = sinks.m_colourWords;
    PointFill::Affine affine;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) affine.m[r][c] = col.affine.m[r][c];
    affine.translation = col.affine.IsTranslation();
    const PointFill fill(cloud.m_points.data(), targets, rules, affine);

    // Large clouds are filled by a few workers, each over its own run of blocks;
    // all are joined before the buffers are handed to GL.
    const std::size_t threads = n < kParallelPoints ? 1 : std::min(tessara::WorkerCount(), kMaxFillThreads);
    const std::size_t block = PointFill::kBlockPoints;
    const std::size_t share = (n / threads + block - 1) / block * block;
    tessara::RunParts(threads, [&](std::size_t t) {
        if (t * share < n) fill.Fill(t * share, std::min(n, (t + 1) * share));
    });
    const bool kept = sinks.Finish(data);
    if (col.heightKnown) {
        data.heightRange[0] = col.zmin;
        data.heightRange[1] = col.zmax;
    }
    if (col.intensityKnown) {
        data.intensityRange[0] = col.imin;
        data.intensityRange[1] = col.imax;
    }
    if (!kept) {
        ReleaseCloud(ctx, data);
        return false;
    }
    return true;
}

void PointCloudPass::ReleaseCloud(RenderContext& ctx, GroupGpuData& data)
{
    for (int c = 0; c < kChunks; ++c) {
        const auto k = static_cast<std::size_t>(c);
        GlBufferOps::Delete(ctx.gl, data.positionBuffers[k]);
        GlBufferOps::Delete(ctx.gl, data.colourBuffers[k]);
        GlBufferOps::Delete(ctx.gl, data.pickColourBuffers[k]);
        data.pointCounts[k] = 0;
    }
    // No buffer uses the memory now: the next build may write it again.
    ctx.book.PointStorage().Keep(std::move(data.pointStorage));
    data.pointsBuilt = 0;
    data.rebuildRequested = 0;
}

void PointCloudPass::BuildGroupCloudPoints(RenderContext& ctx)
{
    RenderBook::KindState& kind = ctx.book.Kind(DrawableKind::GroupCloud);
    if (kind.built != 0) return;
    AskHostStorage(ctx);
    try {
        const Colouring col = PrepareColouring(ctx, false);
        GlBufferOps::ClearErrors(ctx.gl);
        for (auto& group : ctx.store.m_groups) {
            if (!group || group->m_nDataFlag == 0) continue;
            GroupGpuData& data = GroupGpuData::Of(*group, ctx.book.NameQueue());
            if (data.pointsBuilt == 1) continue;
            if (BuildCloud(ctx, *group, data, col)) data.pointsBuilt = 1;
        }
        if (GlBufferOps::HadError(ctx.gl)) {
            // Out of GPU memory most likely: drop what this build made and keep
            // the kind built with nothing in it, so no frame retries it.
            for (auto& group : ctx.store.m_groups)
                if (group)
                    if (GroupGpuData* d = GroupGpuData::Find(*group)) ReleaseCloud(ctx, *d);
            if (ctx.book.FirstFailure(DrawableKind::GroupCloud)) tessara::Log("point buffers could not be uploaded");
        }
    } catch (const std::bad_alloc&) {
        if (ctx.book.FirstFailure(DrawableKind::GroupCloud)) tessara::Log("not enough memory for the point buffers");
    }
    kind.built = 1;
    kind.builtMode = ctx.settings.colourMode;
}

void PointCloudPass::BuildViewCloudPoints(RenderContext& ctx)
{
    RenderBook::KindState& kind = ctx.book.Kind(DrawableKind::ViewCloud);
    if (kind.built != 0) return;
    CPCloudMng& cloud = ctx.store.m_viewCloud;
    GroupGpuData& data = GroupGpuData::Of(cloud, ctx.book.NameQueue());
    if (data.pointsBuilt != 0 || cloud.m_nDataFlag == 0) return;
    AskHostStorage(ctx);
    try {
        const Colouring col = PrepareColouring(ctx, true);
        GlBufferOps::ClearErrors(ctx.gl);
        if (BuildCloud(ctx, cloud, data, col)) data.pointsBuilt = 1;
        if (GlBufferOps::HadError(ctx.gl)) {
            ReleaseCloud(ctx, data);
            if (ctx.book.FirstFailure(DrawableKind::ViewCloud)) tessara::Log("view cloud buffers could not be uploaded");
        }
    } catch (const std::bad_alloc&) {
        if (ctx.book.FirstFailure(DrawableKind::ViewCloud)) tessara::Log("not enough memory for the view cloud buffers");
    }
    kind.built = 1;
    kind.builtMode = ctx.settings.colourMode;
}

void PointCloudPass::BuildSelectionBuffers(RenderContext& ctx)
{
    RenderBook::KindState& kind = ctx.book.Kind(DrawableKind::Selection);
    if (kind.built != 0) return;
    if (ctx.selection != nullptr) {
        for (const SelPCloud& entry : *ctx.selection) {
            CPCloudMng* group = ctx.store.GetGroup(entry.group);
            if (group == nullptr) continue;
            GroupGpuData* data = GroupGpuData::Find(*group);
            if (data == nullptr || data->pointsBuilt == 0) continue;
            std::array<std::vector<std::uint32_t>, kChunks> buckets;
            for (std::uint64_t ref : entry.points) {
                const std::uint32_t e = SelPCloud::PointIndex(ref);
                const auto chunk = static_cast<std::size_t>(e % kChunks);
                const std::uint32_t at = e / kChunks;
                // Only points that are in the chunk's position buffer.
                if (data->positionBuffers[chunk] != 0 && at < data->pointCounts[chunk]) buckets[chunk].push_back(at);
            }
            bool uploaded = false;
            for (std::size_t i = 0; i < buckets.size(); ++i) {
                if (buckets[i].empty()) continue;
                // A second entry for one group replaces, never leaks, the first.
                GlBufferOps::Delete(ctx.gl, data->selectionBuffers[i]);
                data->selectionBuffers[i] = GlBufferOps::Upload(ctx.gl, ctx.book, GL_ELEMENT_ARRAY_BUFFER, buckets[i]);
                data->selectionCounts[i] = static_cast<std::int64_t>(buckets[i].size());
                uploaded = true;
            }
            if (uploaded) data->selectionBuilt = 1;
        }
    }
    kind.built = 1;
}

void PointCloudPass::ReleaseSelectionBuffers(RenderContext& ctx)
{
    RenderBook::KindState& kind = ctx.book.Kind(DrawableKind::Selection);
    if (kind.built == 0) return;
    for (auto& group : ctx.store.m_groups) {
        if (!group) continue;
        GroupGpuData* data = GroupGpuData::Find(*group);
        if (data == nullptr || data->selectionBuilt == 0) continue;
        for (std::size_t i = 0; i < data->selectionBuffers.size(); ++i) {
            GlBufferOps::Delete(ctx.gl, data->selectionBuffers[i]);
            data->selectionCounts[i] = 0;
        }
        data->selectionBuilt = 0;
    }
    kind.built = 0;
    kind.releasePending = 0;
}

void PointCloudPass::ReleaseGroupCloudPointBuffers(RenderContext& ctx)
{
    ReleaseSelectionBuffers(ctx);
    for (auto& group : ctx.store.m_groups) {
        if (!group) continue;
        GroupGpuData* data = GroupGpuData::Find(*group);
        if (data != nullptr && data->pointsBuilt == 1 && data->rebuildRequested == 1) ReleaseCloud(ctx, *data);
    }
    RenderBook::KindState& kind = ctx.book.Kind(DrawableKind::GroupCloud);
    kind.built = 0;
    kind.releasePending = 0;
    kind.builtMode = -1;
}

void PointCloudPass::ReleaseViewCloudPointBuffers(RenderContext& ctx)
{
    if (GroupGpuData* data = GroupGpuData::Find(ctx.store.m_viewCloud))
        if (data->pointsBuilt == 1 && data->rebuildRequested == 1) ReleaseCloud(ctx, *data);
    RenderBook::KindState& kind = ctx.book.Kind(DrawableKind::ViewCloud);
    kind.built = 0;
    kind.releasePending = 0;
    kind.builtMode = -1;
}

float PointCloudPass::PointSizePixels(int sizeIndex, std::uint16_t correctionHint)
{
    if (correctionHint == 0) return static_cast<float>(sizeIndex + 1);
    static constexpr float kSmoothSizes[5] = {2, 3, 5, 7, 9};
    return sizeIndex >= 0 && sizeIndex <= 4 ? kSmoothSizes[sizeIndex] : 3.0f;
}

std::int16_t PointCloudPass::FoldPointSizeIndex(std::int16_t index)
{
    if (index > 4) index = static_cast<std::int16_t>(index - 5);
    if (index > 4) index = 0;
    return index;
}

void PointCloudPass::SetDisplayPointSize(RenderContext& ctx, int sizeIndex)
{
    GlFunctions& gl = ctx.gl;
    const std::uint16_t hint = ctx.settings.correctionHint;
    if (hint != 0) {
        gl.glEnable(GL_POINT_SMOOTH);
        gl.glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
        gl.glEnable(GL_BLEND);
        gl.glBlendFunc(GL_SRC_ALPHA, BlendFactorToGL(hint));
    }
    gl.glPointSize(PointSizePixels(sizeIndex, hint));
}

void PointCloudPass::DrawChunks(RenderContext& ctx, GroupGpuData& data, bool withColour, bool pickColours)
{
    int first = 0, last = -1;
    if (!ChunkRange(ctx.frame, first, last)) return;
    GlFunctions& gl = ctx.gl;
    for (int c = first; c <= last; ++c) {
        const auto k = static_cast<std::size_t>(c);
        if (data.positionBuffers[k] == 0 || data.pointCounts[k] <= 0) continue;
        gl.glBindBuffer(GL_ARRAY_BUFFER, data.positionBuffers[k]);
        gl.glVertexPointer(3, GL_FLOAT, 0, nullptr);
        const GLuint colours = pickColours ? data.pickColourBuffers[k] : data.colourBuffers[k];
        if (withColour) {
            gl.glBindBuffer(GL_ARRAY_BUFFER, colours);
            gl.glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
        }
        gl.glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(data.pointCounts[k]));
    }
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void PointCloudPass::DrawPickedPoint(RenderContext& ctx)
{
    if (ctx.pickedGroup == -1 || ctx.pickedPoint == -1) return;
    const CPCloudMng* group = ctx.store.GetGroup(ctx.pickedGroup);
    if (group == nullptr || group->m_nDataFlag == 0 || ctx.pickedPoint < 0 ||
        ctx.pickedPoint >= group->GetCloudPointSize())
        return;
    float x = 0, y = 0, z = 0;
    COLORREF colour = 0;
    double intensity = 0;
    if (group->GetCloudPointVal(ctx.pickedPoint, x, y, z, colour, intensity) == 0) return;
    PT p(x, y, z);
    ctx.store.UserToModel(p);
    GlFunctions& gl = ctx.gl;
    gl.glPushAttrib(GL_CURRENT_BIT | GL_POINT_BIT | GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT);
    gl.glDepthFunc(GL_ALWAYS);
    gl.glPointSize(10.0f);
    gl.glEnable(GL_POINT_SMOOTH);
    gl.glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.glEnable(GL_BLEND);
    gl.glColor3f(1.0f, 0.0f, 0.0f);
    gl.glBegin(GL_POINTS);
    gl.glVertex3d(p.x(), p.y(), p.z());
    gl.glEnd();
    gl.glDisable(GL_POINT_SMOOTH);
    gl.glDisable(GL_BLEND);
    gl.glPopAttrib();
}

void PointCloudPass::DrawGroupCloudPoints(RenderContext& ctx, unsigned char pass)
{
    RenderBook& book = ctx.book;
    RenderBook::KindState& kind = book.Kind(DrawableKind::GroupCloud);
    const int mode = ctx.settings.colourMode;
    if (kind.built != 0 && mode != 0 && kind.builtMode != mode) {
        // The colour buffers hold another mode's colours: rebuild every group.
        for (auto& group : ctx.store.m_groups)
            if (group)
                if (GroupGpuData* d = GroupGpuData::Find(*group)) d->rebuildRequested = 1;
        kind.releasePending = 1;
    }
    if (kind.releasePending != 0) ReleaseGroupCloudPointBuffers(ctx);
    if (book.Kind(DrawableKind::Selection).releasePending != 0) ReleaseSelectionBuffers(ctx);
    if (mode == 0 || book.Switch(DrawSwitch::GroupClouds) == 0) return;
    if (pass != kPassDisplay && pass != kPassPointPick) return;

    BuildGroupCloudPoints(ctx);
    GlFunctions& gl = ctx.gl;
    const auto drawn = [&](const CPCloudMng& g, int flag) { return IsDrawn(ctx.store, g, flag != 0); };

    if (pass == kPassPointPick) {
        GlBufferOps::DisablePickSpoilers(gl);
        gl.glPointSize(5.0f);
        gl.glEnableClientState(GL_VERTEX_ARRAY);
        gl.glEnableClientState(GL_COLOR_ARRAY);
        for (auto& group : ctx.store.m_groups) {
            if (!group) continue;
            GroupGpuData* data = GroupGpuData::Find(*group);
            if (data != nullptr && drawn(*group, data->pointsBuilt)) DrawChunks(ctx, *data, true, true);
        }
        gl.glDisableClientState(GL_COLOR_ARRAY);
        gl.glDisableClientState(GL_VERTEX_ARRAY);
        return;
    }

    SetDisplayPointSize(ctx, ctx.settings.pointSizeIndex);
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    gl.glEnableClientState(GL_COLOR_ARRAY);
    for (auto& group : ctx.store.m_groups) {
        if (!group) continue;
        GroupGpuData* data = GroupGpuData::Find(*group);
        if (data != nullptr && drawn(*group, data->pointsBuilt)) DrawChunks(ctx, *data, true, false);
    }
    gl.glDisableClientState(GL_COLOR_ARRAY);

    BuildSelectionBuffers(ctx);
    if (book.Kind(DrawableKind::Selection).built != 0 && ctx.selection != nullptr) {
        ctx.settings.pointSizeIndex = FoldPointSizeIndex(ctx.settings.pointSizeIndex);
        SetDisplayPointSize(ctx, ctx.settings.pointSizeIndex);
        int first = 0, last = -1;
        const bool anyChunk = ChunkRange(ctx.frame, first, last);
        gl.glColor3f(1.02f, 0.804f, 0.056f);
        for (const SelPCloud& entry : *ctx.selection) {
            CPCloudMng* group = ctx.store.GetGroup(entry.group);
            if (group == nullptr || !anyChunk) continue;
            GroupGpuData* data = GroupGpuData::Find(*group);
            if (data == nullptr || !drawn(*group, data->selectionBuilt)) continue;
            for (int c = first; c <= last; ++c) {
                const auto k = static_cast<std::size_t>(c);
                if (data->selectionCounts[k] <= 0 || data->selectionBuffers[k] == 0 || data->positionBuffers[k] == 0)
                    continue;
                gl.glBindBuffer(GL_ARRAY_BUFFER, data->positionBuffers[k]);
                gl.glVertexPointer(3, GL_FLOAT, 0, nullptr);
                gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, data->selectionBuffers[k]);
                gl.glDrawElements(GL_POINTS, static_cast<GLsizei>(data->selectionCounts[k]), GL_UNSIGNED_INT, nullptr);
            }
        }
        gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    gl.glDisableClientState(GL_VERTEX_ARRAY);
    DrawPickedPoint(ctx);
}

void PointCloudPass::DrawViewCloudPoints(RenderContext& ctx, unsigned char pass)
{
    RenderBook::KindState& kind = ctx.book.Kind(DrawableKind::ViewCloud);
    CPCloudMng& cloud = ctx.store.m_viewCloud;
    const int mode = ctx.settings.colourMode;
    if (kind.built != 0 && mode != 0 && kind.builtMode != mode) kind.releasePending = 1;
    if (kind.releasePending != 0) {
        GroupGpuData::Of(cloud, ctx.book.NameQueue()).rebuildRequested = 1;
        ReleaseViewCloudPointBuffers(ctx);
    }
    if (mode == 0 || ctx.book.Switch(DrawSwitch::ViewCloudPoints) == 0 || pass != kPassDisplay) return;

    BuildViewCloudPoints(ctx);
    GroupGpuData* data = GroupGpuData::Find(cloud);
    if (kind.built == 0 || data == nullptr || !IsDrawn(ctx.store, cloud, data->pointsBuilt != 0)) return;

    GlFunctions& gl = ctx.gl;
    ctx.settings.pointSizeIndex = FoldPointSizeIndex(ctx.settings.pointSizeIndex);
    SetDisplayPointSize(ctx, ctx.settings.pointSizeIndex);
    const bool colourArray = mode == 1 || mode == 2 || mode == 4;
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    if (colourArray) gl.glEnableClientState(GL_COLOR_ARRAY);
    // Mono takes the settings' point colour; group colour mode the view cloud's own.
    const COLORREF constant = mode == 3 ? ctx.settings.pointColour : cloud.m_nColor;
    if (!colourArray) gl.glColor3f(Red(constant), Green(constant), Blue(constant));
    DrawChunks(ctx, *data, colourArray, false);
    if (colourArray) gl.glDisableClientState(GL_COLOR_ARRAY);
    gl.glDisableClientState(GL_VERTEX_ARRAY);
}

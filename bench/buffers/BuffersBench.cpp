// Point buffers of 10,000,000 points on the software renderer: the build against
// memcpy of the same bytes, and a frame of the point passes against bare
// glDrawArrays of the same buffers. Every GL timing ends with glFinish.
//
// The build is timed three ways: a rebuild (release, then build, as a colour
// mode change does; the memory of the released buffers is built in again),
// a first build (no released memory to take: every page is new to the
// process), and a rebuild through mapped GL buffers (the way for renderers
// that cannot take host memory as buffer storage).
#include "platform/OwnedMutex.h"
#include "viewer/buffers/BufferNameQueue.h"
#include "viewer/buffers/FigureBuffers.h"
#include "viewer/buffers/FigurePasses.h"
#include "viewer/buffers/StructurePasses.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/PointCloudPass.h"
#include "viewer/buffers/RenderBook.h"
#include "viewer/buffers/RenderContext.h"
#include "viewer/buffers/SceneLayers.h"
#include "viewer/buffers/SceneRenderer.h"

#include "outside/CGradationSetting.h"
#include "outside/CModelDataMng.h"

#include "platform/gltest/GlTestContext.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <random>
#include <vector>

#include <sys/mman.h>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr int kPoints = 10'000'000;

class BenchLayers : public SceneLayers {
public:
    explicit BenchLayers(GlFunctions& gl) : m_gl(gl)
    {
        for (int i = 0; i < kLayerCount; ++i) {
            m_gl.glGenTextures(1, &m_colour[i]);
            m_gl.glGenRenderbuffers(1, &m_depth[i]);
            m_gl.glGenFramebuffers(1, &m_fbo[i]);
            Prepare(static_cast<Layer>(i));
        }
    }
    void Bind(Layer layer) override
    {
        m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_fbo[layer]);
        m_gl.glViewport(0, 0, kWidth, kHeight);
    }
    void BindDefault() override { m_gl.glBindFramebuffer(GL_FRAMEBUFFER, 0); }
    void Prepare(Layer layer) override
    {
        m_gl.glBindTexture(GL_TEXTURE_2D, m_colour[layer]);
        m_gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kWidth, kHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        m_gl.glBindTexture(GL_TEXTURE_2D, 0);
        m_gl.glBindRenderbuffer(GL_RENDERBUFFER, m_depth[layer]);
        m_gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kWidth, kHeight);
        m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_fbo[layer]);
        m_gl.glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_colour[layer], 0);
        m_gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_depth[layer]);
        m_gl.glClearColor(0, 0, 0, 0);
        m_gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        m_gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    GLuint Framebuffer(Layer layer) const override { return m_fbo[layer]; }
    int Width() const override { return kWidth; }
    int Height() const override { return kHeight; }

private:
    GlFunctions& m_gl;
    std::array<GLuint, kLayerCount> m_fbo{};
    std::array<GLuint, kLayerCount> m_colour{};
    std::array<GLuint, kLayerCount> m_depth{};
};

// One scene for every benchmark: a context, a store of 10,000,000 points on a
// slope over the frame, the book and settings as the view keeps them.
struct World {
    tessara::GlTestContext context;
    GlFunctions* gl = nullptr;
    CModelDataMng store;
    RenderBook book;
    RenderSettings settings;
    std::vector<ColorConf> stops{{255, 0x0000FF}, {128, 0x00FFFF}, {0, 0xFF0000}};
    std::unique_ptr<RenderContext> ctx;
    std::unique_ptr<BenchLayers> layers;
    tessara::OwnedMutex viewMutex;

    World()
    {
        gl = CurrentGlFunctions();
        if (gl == nullptr) return;
        auto group = std::make_unique<CPCloudMng>();
        group->ReserveCloudPoint(kPoints);
        std::mt19937 random(7);
        std::uniform_real_distribution<float> x(0.0f, kWidth), y(0.0f, kHeight);
        for (int i = 0; i < kPoints; ++i) {
            const float px = x(random), py = y(random);
            group->AddCloudPoint(px, py, px * 0.05f + py * 0.02f, 0x336699, i % 1000);
        }
        group->m_nDataFlag = 1;
        store.AddGroup(std::move(group));
        settings.colourMode = 1;
        settings.gradation = &stops;
        settings.tinPictureMode = 0;
        ctx = std::make_unique<RenderContext>(*gl, store, book, settings);
        layers = std::make_unique<BenchLayers>(*gl);
        gl->glMatrixMode(GL_PROJECTION);
        gl->glLoadIdentity();
        gl->glOrtho(0, kWidth, 0, kHeight, -1000, 1000);
        gl->glMatrixMode(GL_MODELVIEW);
        gl->glLoadIdentity();
        gl->glEnable(GL_DEPTH_TEST);
    }

    void Release()
    {
        GroupGpuData* data = GroupGpuData::Find(*store.m_groups[0]);
        if (data != nullptr) data->rebuildRequested = 1;
        PointCloudPass::ReleaseGroupCloudPointBuffers(*ctx);
        gl->glFinish();
    }
    //! Releases and frees the released memory, as the next frame would.
    void ReleaseAndDispose()
    {
        Release();
        SceneRenderer::DeleteOrphanedBuffers(*ctx);
    }
    GroupGpuData& Data()
    {
        PointCloudPass::BuildGroupCloudPoints(*ctx);
        return *GroupGpuData::Find(*store.m_groups[0]);
    }
};

std::unique_ptr<World> g_world;

World& TheWorld()
{
    if (!g_world) g_world = std::make_unique<World>();
    return *g_world;
}

std::uint64_t g_uploadedBytes = 0;

enum class BuildWay { Rebuild, FirstBuild, MappedRebuild };

void BuildPointBuffers(benchmark::State& state, BuildWay way)
{
    World& w = TheWorld();
    if (w.gl == nullptr) {
        state.SkipWithError("no GL context");
        return;
    }
    w.book.allowHostStorage = way != BuildWay::MappedRebuild;
    // One build before timing: a rebuild finds the memory it released.
    w.ReleaseAndDispose();
    PointCloudPass::BuildGroupCloudPoints(*w.ctx);
    w.gl->glFinish();
    std::uint64_t uploaded = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (way == BuildWay::FirstBuild)
            w.ReleaseAndDispose();
        else
            w.Release();
        const std::uint64_t before = w.book.UploadedBytes();
        state.ResumeTiming();
        PointCloudPass::BuildGroupCloudPoints(*w.ctx);
        w.gl->glFinish();
        state.PauseTiming();
        uploaded = w.book.UploadedBytes() - before;
        state.ResumeTiming();
    }
    w.book.allowHostStorage = true;
    if (way == BuildWay::Rebuild) g_uploadedBytes = uploaded;
    state.counters["uploaded_MB"] = static_cast<double>(uploaded) / 1e6;
    state.counters["gpu_bytes_per_point"] = static_cast<double>(uploaded) / kPoints;
    state.counters["host_storage"] = w.book.hostStorage == 1 && way != BuildWay::MappedRebuild ? 1 : 0;
    state.SetBytesProcessed(static_cast<std::int64_t>(uploaded) * state.iterations());
}

void BM_BuildPointBuffers(benchmark::State& state) { BuildPointBuffers(state, BuildWay::Rebuild); }
void BM_BuildPointBuffersFirst(benchmark::State& state) { BuildPointBuffers(state, BuildWay::FirstBuild); }
void BM_BuildPointBuffersMapped(benchmark::State& state) { BuildPointBuffers(state, BuildWay::MappedRebuild); }

// memcpy of bytes into warm memory.
void MemcpyBytes(benchmark::State& state, std::uint64_t bytes)
{
    std::vector<std::uint8_t> source(bytes, 1), target(bytes, 0);
    std::memcpy(target.data(), source.data(), bytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

// memcpy of the bytes the build uploads, into warm memory.
void BM_MemcpyUploadedBytes(benchmark::State& state)
{
    MemcpyBytes(state, g_uploadedBytes != 0 ? g_uploadedBytes : std::size_t{kPoints} * 20);
}

// For reading the first build only: memcpy of the same bytes into memory the
// process has never touched (the comparison the target names is the warm one).
void BM_MemcpyIntoNewMemory(benchmark::State& state)
{
    const std::size_t bytes = g_uploadedBytes != 0 ? g_uploadedBytes : std::size_t{kPoints} * 20;
    std::vector<std::uint8_t> source(bytes, 1);
    for (auto _ : state) {
        state.PauseTiming();
        void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        state.ResumeTiming();
        if (memory == MAP_FAILED) {
            state.SkipWithError("no memory");
            break;
        }
        std::memcpy(memory, source.data(), bytes);
        benchmark::DoNotOptimize(memory);
        benchmark::ClobberMemory();
        state.PauseTiming();
        munmap(memory, bytes);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

// Passes 1 and 9 of RenderScene at detail level 0.
void BM_FramePointPasses(benchmark::State& state)
{
    World& w = TheWorld();
    if (w.gl == nullptr) {
        state.SkipWithError("no GL context");
        return;
    }
    {
        std::lock_guard lock(w.viewMutex);
        SceneRenderer::RenderScene(*w.ctx, *w.layers, kPassDisplay, w.viewMutex);
        w.gl->glFinish();
    }
    for (auto _ : state) {
        std::lock_guard lock(w.viewMutex);
        SceneRenderer::RenderScene(*w.ctx, *w.layers, kPassDisplay, w.viewMutex);
        SceneRenderer::RenderScene(*w.ctx, *w.layers, kPassPointPick, w.viewMutex);
        w.gl->glFinish();
    }
}

// The same buffers drawn bare into one framebuffer, once per point pass.
void BM_BareDrawArrays(benchmark::State& state)
{
    World& w = TheWorld();
    if (w.gl == nullptr) {
        state.SkipWithError("no GL context");
        return;
    }
    GlFunctions& gl = *w.gl;
    GroupGpuData& data = w.Data();
    for (auto _ : state) {
        w.layers->Bind(SceneLayers::kCloud);
        gl.glEnableClientState(GL_VERTEX_ARRAY);
        gl.glEnableClientState(GL_COLOR_ARRAY);
        for (bool pick : {false, true}) {
            gl.glPointSize(pick ? 5.0f : 1.0f);
            for (int c = 0; c < GroupGpuData::kChunkCount; ++c) {
                gl.glBindBuffer(GL_ARRAY_BUFFER, data.positionBuffers[c]);
                gl.glVertexPointer(3, GL_FLOAT, 0, nullptr);
                gl.glBindBuffer(GL_ARRAY_BUFFER, pick ? data.pickColourBuffers[c] : data.colourBuffers[c]);
                gl.glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
                gl.glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(data.pointCounts[c]));
            }
        }
        gl.glDisableClientState(GL_COLOR_ARRAY);
        gl.glDisableClientState(GL_VERTEX_ARRAY);
        gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
        w.layers->BindDefault();
        gl.glFinish();
    }
}

// ---- 3D structures and the part layer -------------------------------------------------

constexpr int kStructureSide = 708;  // 2 x 707^2 = 999,698 triangles
constexpr int kChimney = 6;
constexpr int kChimneySlot = 11;
constexpr int kPartSegments = 1'000'000;

// A chimney of about 1,000,000 triangles and a part layer of 1,000,000 segments,
// on the world's context with their own store and book.
struct FigureWorld {
    CModelDataMng store;
    RenderBook book;
    RenderSettings settings;
    FigureBuffers figures;
    std::unique_ptr<RenderContext> ctx;

    explicit FigureWorld(GlFunctions& gl)
    {
        CVertexMng& tin = store.m_structure[kChimneySlot];
        for (int j = 0; j < kStructureSide; ++j)
            for (int i = 0; i < kStructureSide; ++i)
                tin.AddVertex(i * 1.8f, j * 1.1f, static_cast<float>((i * 7 + j * 3) % 50));
        for (int j = 0; j + 1 < kStructureSide; ++j)
            for (int i = 0; i + 1 < kStructureSide; ++i) {
                const auto a = static_cast<std::uint32_t>(j * kStructureSide + i);
                tin.m_triangles.emplace_back(a, a + 1, a + kStructureSide + 1);
                tin.m_triangles.emplace_back(a, a + kStructureSide + 1, a + kStructureSide);
            }
        for (int v = 0; v < 2 * kPartSegments; ++v)
            store.m_partLineVertex3D.AddVertex(static_cast<float>(v % kWidth), static_cast<float>((v / kWidth) % kHeight), 1.0f);
        for (int k = 0; k < kPartSegments; ++k)
            store.m_partLine3D.push_back({2 * k, 2 * k + 1, static_cast<std::uint32_t>(0x102030 + k)});
        settings.tinPictureMode = 1;
        settings.tinEdgeSwitch = 1;
        settings.tinVertexSwitch = 1;
        settings.unsetExclusion = 1;
        ctx = std::make_unique<RenderContext>(gl, store, book, settings);
        ctx->figures = &figures;
    }
    void ReleaseStructures()
    {
        StructurePasses::ReleaseFaces(*ctx, kChimney);
        StructurePasses::ReleaseEdges(*ctx, kChimney);
        StructurePasses::ReleaseVertices(*ctx, kChimney);
    }
    void BuildStructures()
    {
        StructurePasses::BuildFaces(*ctx, kChimney);
        StructurePasses::BuildEdges(*ctx, kChimney);
        StructurePasses::BuildVertices(*ctx, kChimney);
    }
};

FigureWorld* TheFigureWorld()
{
    static std::unique_ptr<FigureWorld> world;
    World& w = TheWorld();
    if (w.gl == nullptr) return nullptr;
    if (!world) world = std::make_unique<FigureWorld>(*w.gl);
    return world.get();
}

std::uint64_t g_structureBytes = 0;
std::uint64_t g_partBytes = 0;

// Times a build after a release (not timed) and notes the bytes it uploads.
// One build before timing, as for the point buffers: a rebuild finds the memory
// it released, as the memcpy it is held against writes memory it wrote before.
void TimeBuild(benchmark::State& state, void (*release)(FigureWorld&), void (*build)(FigureWorld&),
               std::uint64_t& bytes)
{
    FigureWorld* f = TheFigureWorld();
    if (f == nullptr) {
        state.SkipWithError("no GL context");
        return;
    }
    release(*f);
    build(*f);
    TheWorld().gl->glFinish();
    for (auto _ : state) {
        state.PauseTiming();
        release(*f);
        TheWorld().gl->glFinish();
        const std::uint64_t before = f->book.UploadedBytes();
        state.ResumeTiming();
        build(*f);
        TheWorld().gl->glFinish();
        bytes = f->book.UploadedBytes() - before;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

void BM_BuildStructures(benchmark::State& state)
{
    TimeBuild(state, [](FigureWorld& f) { f.ReleaseStructures(); }, [](FigureWorld& f) { f.BuildStructures(); },
              g_structureBytes);
}

void BM_BuildPartLayer(benchmark::State& state)
{
    TimeBuild(state, [](FigureWorld& f) { FigurePasses::ReleasePartLayer(*f.ctx); },
              [](FigureWorld& f) { FigurePasses::BuildPartLayer(*f.ctx); }, g_partBytes);
}


void BM_MemcpyStructureBytes(benchmark::State& state) { MemcpyBytes(state, g_structureBytes ? g_structureBytes : 1); }
void BM_MemcpyPartBytes(benchmark::State& state) { MemcpyBytes(state, g_partBytes ? g_partBytes : 1); }

// The structure passes (vertices, edges, faces) and the part layer in one frame.
void BM_FrameStructuresAndPart(benchmark::State& state)
{
    FigureWorld* f = TheFigureWorld();
    if (f == nullptr) {
        state.SkipWithError("no GL context");
        return;
    }
    World& w = TheWorld();
    f->BuildStructures();
    FigurePasses::BuildPartLayer(*f->ctx);
    for (auto _ : state) {
        w.layers->Bind(SceneLayers::kFigure);
        StructurePasses::DrawAll(*f->ctx, kPassDisplay);
        w.layers->Bind(SceneLayers::kPart);
        FigurePasses::DrawPartLayer(*f->ctx, kPassDisplay);
        w.layers->BindDefault();
        w.gl->glFinish();
    }
}

// The same buffers with bare draw calls.
void BM_BareStructureAndPartDraws(benchmark::State& state)
{
    FigureWorld* f = TheFigureWorld();
    if (f == nullptr) {
        state.SkipWithError("no GL context");
        return;
    }
    World& w = TheWorld();
    GlFunctions& gl = *w.gl;
    f->BuildStructures();
    FigurePasses::BuildPartLayer(*f->ctx);
    const FigureBuffers& b = f->figures;
    const auto n = static_cast<GLsizei>(b.structureFaces[kChimneySlot].triangles);
    std::vector<GLint> firsts(static_cast<std::size_t>(n));
    std::vector<GLsizei> counts(static_cast<std::size_t>(n), 4);
    for (GLsizei i = 0; i < n; ++i) firsts[static_cast<std::size_t>(i)] = 4 * i;
    const auto bind = [&gl](GLuint buffer) {
        gl.glBindBuffer(GL_ARRAY_BUFFER, buffer);
        gl.glVertexPointer(3, GL_FLOAT, 0, nullptr);
    };
    for (auto _ : state) {
        w.layers->Bind(SceneLayers::kFigure);
        gl.glEnableClientState(GL_VERTEX_ARRAY);
        bind(b.structureVertices[kChimneySlot]);
        gl.glDrawArrays(GL_POINTS, 0, 3 * n);
        bind(b.structureEdges[kChimneySlot]);
        gl.glMultiDrawArrays(GL_LINE_STRIP, firsts.data(), counts.data(), n);
        gl.glEnable(GL_LIGHTING);
        bind(b.structureFaces[kChimneySlot].positions);
        gl.glBindBuffer(GL_ARRAY_BUFFER, b.structureFaces[kChimneySlot].normals);
        gl.glNormalPointer(GL_FLOAT, 0, nullptr);
        gl.glEnableClientState(GL_NORMAL_ARRAY);
        gl.glDrawArrays(GL_TRIANGLES, 0, 3 * n);
        gl.glDisableClientState(GL_NORMAL_ARRAY);
        gl.glDisable(GL_LIGHTING);
        w.layers->Bind(SceneLayers::kPart);
        bind(b.part[0].positions);
        gl.glBindBuffer(GL_ARRAY_BUFFER, b.part[0].colours);
        gl.glColorPointer(4, GL_FLOAT, 0, nullptr);
        gl.glEnableClientState(GL_COLOR_ARRAY);
        gl.glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(2 * b.part[0].segments));
        gl.glDisableClientState(GL_COLOR_ARRAY);
        gl.glDisableClientState(GL_VERTEX_ARRAY);
        gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
        w.layers->BindDefault();
        gl.glFinish();
    }
}

}  // namespace

BENCHMARK(BM_BuildPointBuffers)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_BuildPointBuffersFirst)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_BuildPointBuffersMapped)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_MemcpyUploadedBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyIntoNewMemory)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_FramePointPasses)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_BareDrawArrays)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_BuildStructures)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_MemcpyStructureBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildPartLayer)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_MemcpyPartBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameStructuresAndPart)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_BareStructureAndPartDraws)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The buffers go while their context is still current.
    g_world.reset();
    // The GL test support ends its application from a test-framework hook that
    // only runs safely inside a test program: leave without static teardown.
    std::fflush(nullptr);
    std::_Exit(0);
}

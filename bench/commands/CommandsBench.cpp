// The view's commands against the store work they wrap, on the same points in
// the same run: TIN generation through the command and alone, the CAD TIN
// through the command and a bare CGAL constrained triangulation, the export
// command after its dialog and the LAS export alone, the three TIN
// edits on a large TIN, deletion by a polygon against a plain pass over the
// points, and each point filter through the command and alone.
#include "outside/CModelDataMng.h"
#include "outside/XTinOption.h"
#include "platform/MessageBox.h"
#include "platform/ScriptedMessageBoxes.h"
#include "viewer/commands/Deletion.h"
#include "viewer/commands/PointSampling.h"
#include "viewer/commands/TinEdit.h"
#include "viewer/dialogs/DialogHooks.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/ExportFileDlg.h"
#include "viewer/dialogs/MakeTinDlg.h"
#include "viewer/dialogs/VurGridDlg.h"
#include "viewer/dialogs/VurOutRemoveDlg.h"
#include "viewer/dialogs/VurRadiusDlg.h"
#include "viewer/files/LasExport.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/render/CModelViewerView.h"
#include "viewer/render/ViewSettings.h"
#include "viewer/render/PolygonSelection.h"
#include "viewer/render/ScreenPolygon.h"
#include "viewer/render/ScreenProjector.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Projection_traits_xy_3.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <QApplication>
#include <QMatrix4x4>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr unsigned kMakeTin = 32820;
constexpr int kPlanSide = 1000;  // points lie on a 1000 m square

// The one application of the program, made when a benchmark first needs a view.
void EnsureApplication()
{
    if (QApplication::instance() != nullptr)
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "bench_commands";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

// Scattered points on a gentle slope, the same for every run.
std::unique_ptr<CPCloudMng> Cloud(std::int64_t n)
{
    auto g = std::make_unique<CPCloudMng>();
    g->ReserveCloudPoint(static_cast<std::size_t>(n));
    std::mt19937 random(7);
    std::uniform_real_distribution<float> plan(0.0f, static_cast<float>(kPlanSide));
    std::uniform_real_distribution<float> noise(0.0f, 0.05f);
    for (std::int64_t i = 0; i < n; ++i) {
        const float x = plan(random), y = plan(random);
        g->AddCloudPoint(x, y, 0.01f * x + noise(random), 0, 0.0);
    }
    g->m_nDataFlag = 1;
    g->CreateGrid();
    return g;
}

// Puts a group's points back as they were before a run.
template <class Points>
void Restore(CPCloudMng& group, const Points& points)
{
    group.m_points = points;
    group.CreateGrid();
}

// A main view, not shown, with its commands bound and every box and dialog answered.
struct CommandView {
    CommandView()
    {
        EnsureApplication();
        previous = tessara::SetMessageBoxService(boxes);
        view = std::make_unique<CModelViewerView>();
        view->Create();
    }
    ~CommandView()
    {
        view.reset();
        tessara::SetMessageBoxService(previous);
    }
    void Run(unsigned id) { (*view->Commands().FindCommand(id))(); }

    std::shared_ptr<tessara::ScriptedMessageBoxes> boxes = std::make_shared<tessara::ScriptedMessageBoxes>();
    std::shared_ptr<tessara::MessageBoxService> previous;
    tessara::ScopedDialogScript dialogs;
    std::unique_ptr<CModelViewerView> view;
};

// ---------------------------------------------------------------- TIN generation

void BM_MakeTinCommand(benchmark::State& state)
{
    CommandView c;
    c.dialogs->AcceptAs<MakeTinDlg>();
    c.view->Settings().tinPointLimit = 100;  // 1,000,000 points: no sampling question
    c.view->ModelStore().AddGroup(Cloud(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        c.view->ModelStore().GetGroup(0)->ClearVertex();
        c.view->ClearUndoFiles(0);
        c.view->ClearUndoFiles(1);
        c.boxes->Clear();
        state.ResumeTiming();
        c.Run(kMakeTin);
    }
    state.counters["triangles"] = c.view->ModelStore().GetGroup(0)->GetTriangleCount();
}
BENCHMARK(BM_MakeTinCommand)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_GenerateMeshAlone(benchmark::State& state)
{
    CModelDataMng store;
    store.AddGroup(Cloud(state.range(0)));
    const XTinOption option;
    CPCloudMng& g = *store.GetGroup(0);
    for (auto _ : state) {
        state.PauseTiming();
        g.ClearVertex();
        state.ResumeTiming();
        g.GenerateMesh(&store, &option, 1);
    }
    state.counters["triangles"] = g.GetTriangleCount();
}
BENCHMARK(BM_GenerateMeshAlone)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- TIN edits

// A (side + 1)^2 vertex grid on a slope, each square split along its rising
// diagonal: 2 * side^2 triangles.
CVertexMng GridTin(int side)
{
    CVertexMng tin;
    tin.ReserveVertex(static_cast<std::size_t>(side + 1) * static_cast<std::size_t>(side + 1));
    for (int j = 0; j <= side; ++j)
        for (int i = 0; i <= side; ++i)
            tin.AddVertex(static_cast<float>(i), static_cast<float>(j), 0.01f * static_cast<float>(i + j));
    tin.m_triangles.reserve(2 * static_cast<std::size_t>(side) * static_cast<std::size_t>(side));
    for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i) {
            const auto a = static_cast<std::uint32_t>(j * (side + 1) + i);
            const auto b = a + 1, c = a + static_cast<std::uint32_t>(side) + 2, d = a + static_cast<std::uint32_t>(side) + 1;
            tin.m_triangles.emplace_back(a, b, c);
            tin.m_triangles.emplace_back(a, c, d);
        }
    tin.CreateGrid();
    return tin;
}

constexpr int kTinSide = 1000;  // 2,000,000 triangles

template <class Edit>
void TinEditBench(benchmark::State& state, Edit edit)
{
    const CVertexMng original = GridTin(kTinSide);
    CVertexMng tin;
    for (auto _ : state) {
        state.PauseTiming();
        tin = original;
        state.ResumeTiming();
        benchmark::DoNotOptimize(edit(tin));
    }
    state.counters["triangles"] = static_cast<double>(original.m_triangles.size());
}

// The middle of the grid: vertex, triangle.
constexpr std::int64_t kMiddleVertex = (kTinSide / 2) * (kTinSide + 1) + kTinSide / 2;
constexpr std::int64_t kMiddleTriangle = 2 * ((kTinSide / 2) * kTinSide + kTinSide / 2);

void BM_TinRemoveVertex(benchmark::State& state)
{
    const XTinOption option;
    TinEditBench(state, [&](CVertexMng& tin) { return tinedit::RemoveTinVertex(tin, kMiddleVertex, option).added; });
}
BENCHMARK(BM_TinRemoveVertex)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TinSwapEdge(benchmark::State& state)
{
    // Edge 2 of triangle (a, b, c) is the diagonal c-a.
    TinEditBench(state, [](CVertexMng& tin) { return tinedit::SwapTinEdge(tin, kMiddleTriangle, 2); });
}
BENCHMARK(BM_TinSwapEdge)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TinEraseFace(benchmark::State& state)
{
    TinEditBench(state, [](CVertexMng& tin) { return tinedit::EraseTinTriangle(tin, kMiddleTriangle); });
}
BENCHMARK(BM_TinEraseFace)->Unit(benchmark::kMillisecond)->Iterations(5);

// ---------------------------------------------------------------- deletion by polygon

// A projector that puts plan metres on window pixels one to one.
ScreenProjector PlanProjector()
{
    QMatrix4x4 projection;
    projection.ortho(0.0f, float(kPlanSide), 0.0f, float(kPlanSide), -1.0e4f, 1.0e4f);
    return ScreenProjector(QMatrix4x4(), projection, {0, 0, kPlanSide, kPlanSide});
}

void BM_DeletePolygonSelection(benchmark::State& state)
{
    CModelDataMng store;
    store.AddGroup(Cloud(state.range(0)));
    const auto original = store.GetGroup(0)->m_points;
    const ScreenProjector projector = PlanProjector();
    // The western half of the square, in window pixels (y up).
    const ScreenPolygon polygon({{-1, -1}, {kPlanSide / 2, -1}, {kPlanSide / 2, kPlanSide + 1}, {-1, kPlanSide + 1}});
    std::vector<SelPCloud> buckets;
    for (auto _ : state) {
        state.PauseTiming();
        Restore(*store.GetGroup(0), original);
        buckets.clear();
        state.ResumeTiming();
        PolygonSelection(store, projector, polygon, true).Run(buckets, {});
        benchmark::DoNotOptimize(deletion::DeleteSelectedPoints(store, buckets));
    }
    state.counters["kept"] = store.GetGroup(0)->GetCloudPointSize();
}
BENCHMARK(BM_DeletePolygonSelection)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// The least a deletion can do: read every point, write the kept ones to a new array.
void BM_PointPass(benchmark::State& state)
{
    const std::unique_ptr<CPCloudMng> cloud = Cloud(state.range(0));
    const auto& points = cloud->m_points;
    for (auto _ : state) {
        std::vector<CPCloudMng::CloudPoint> kept;
        kept.reserve(points.size());
        for (const auto& p : points)
            if (p.x >= kPlanSide / 2.0f)
                kept.push_back(p);
        benchmark::DoNotOptimize(kept.data());
    }
}
BENCHMARK(BM_PointPass)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- point filters

struct FilterCase {
    const char* name;
    sampling::Filter filter;
    unsigned id;
    std::int64_t points;
    bool withTin = false;  // the group also holds a 2,000,000-triangle TIN the filter leaves alone
};

const FilterCase kFilters[] = {
    {"grid", sampling::Filter::Grid, 32807, 10'000'000},
    {"grid_min_z", sampling::Filter::GridMinZ, 32808, 10'000'000},
    {"grid_max_z", sampling::Filter::GridMaxZ, 32809, 10'000'000},
    {"radius", sampling::Filter::Radius, 32812, 1'000'000},
    {"outlier", sampling::Filter::Outlier, 32813, 1'000'000},
    {"grid_beside_tin", sampling::Filter::Grid, 32807, 10'000'000, true},
};

std::unique_ptr<CPCloudMng> FilterCloud(const FilterCase& f)
{
    std::unique_ptr<CPCloudMng> g = Cloud(f.points);
    if (f.withTin)
        static_cast<CVertexMng&>(*g) = GridTin(kTinSide);
    return g;
}

// Cells of 2 m, a radius of 1 m with 2 neighbours, 8 neighbours for outliers.
void FilterSettings(ViewSettings& s)
{
    VurGridDlg::Values grid;
    grid.cellM = {2.0, 2.0, 2.0};
    for (int kind = 0; kind < 3; ++kind) {
        grid.kind = kind;
        grid.ToSettings(s);
    }
    VurRadiusDlg::Values radius;
    radius.radiusM = 1.0;
    radius.minimumPoints = 2;
    radius.ToSettings(s);
    VurOutRemoveDlg::Values outlier;
    outlier.neighbourCount = 8;
    outlier.ToSettings(s);
}

void BM_SampleCommand(benchmark::State& state, const FilterCase& f)
{
    CommandView c;
    FilterSettings(c.view->Settings());
    c.dialogs->AcceptAs<VurGridDlg>();
    c.dialogs->AcceptAs<VurRadiusDlg>();
    c.dialogs->AcceptAs<VurOutRemoveDlg>();
    CModelDataMng& store = c.view->ModelStore();
    store.AddGroup(FilterCloud(f));
    const auto original = store.GetGroup(0)->m_points;
    for (auto _ : state) {
        state.PauseTiming();
        Restore(*store.GetGroup(0), original);
        c.boxes->Clear();
        c.boxes->QueueAnswer(tessara::IDOK);
        c.boxes->QueueAnswer(tessara::IDOK);
        state.ResumeTiming();
        c.Run(f.id);
    }
    state.counters["kept"] = store.GetGroup(0)->GetCloudPointSize();
}

void BM_SampleStoreFilter(benchmark::State& state, const FilterCase& f)
{
    ViewSettings settings;
    FilterSettings(settings);
    const sampling::Params params = sampling::Params::FromSettings(settings, f.filter);
    CModelDataMng store;
    store.AddGroup(FilterCloud(f));
    const auto original = store.GetGroup(0)->m_points;
    for (auto _ : state) {
        state.PauseTiming();
        Restore(*store.GetGroup(0), original);
        state.ResumeTiming();
        benchmark::DoNotOptimize(sampling::RunStoreFilter(store, params));
    }
    state.counters["kept"] = store.GetGroup(0)->GetCloudPointSize();
}

// Named by filter: BM_SampleCommand/grid beside BM_SampleStoreFilter/grid.
const bool kFiltersRegistered = [] {
    for (const FilterCase& f : kFilters) {
        benchmark::RegisterBenchmark((std::string("BM_SampleCommand/") + f.name).c_str(), BM_SampleCommand, f)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_SampleStoreFilter/") + f.name).c_str(), BM_SampleStoreFilter, f)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

// ---------------------------------------------------------------- TIN from CAD and export

namespace fs = std::filesystem;

constexpr unsigned kMakeTinFromCad = 32791;
constexpr unsigned kExport = 32837;

constexpr int kCadVertices = 100'000;
constexpr int kCadSegments = 20'000;
constexpr std::uint8_t kPointKind = 11;
constexpr std::uint8_t kPolylineKind = 13;

// Survey figures on a 1000 m square: 10,000 short polylines of three points
// (20,000 segments) and 70,000 single points, all with elevations.
std::vector<CElmData> CadFigures()
{
    std::vector<CElmData> figures;
    std::mt19937 random(11);
    std::uniform_real_distribution<double> plan(0.0, 1000.0);
    std::uniform_real_distribution<double> step(-2.0, 2.0);
    const int lines = kCadSegments / 2;
    for (int i = 0; i < lines; ++i) {
        CElmData e;
        e.m_nKind = kPolylineKind;
        double x = plan(random), y = plan(random);
        std::vector<PT> points;
        for (int k = 0; k < 3; ++k) {
            points.emplace_back(x, y, 0.01 * x + 0.02 * y);
            x += step(random);
            y += step(random);
        }
        e.m_ptLists.push_back(std::move(points));
        e.RebuildSegments();
        figures.push_back(std::move(e));
    }
    for (int i = 3 * lines; i < kCadVertices; ++i) {
        CElmData e;
        e.m_nKind = kPointKind;
        const double x = plan(random), y = plan(random);
        e.m_ptLists.push_back({PT(x, y, 0.01 * x + 0.02 * y)});
        e.RebuildSegments();
        figures.push_back(std::move(e));
    }
    return figures;
}

// ---------------------------------------------------------------- TIN from CAD

void BM_MakeTinFromCad(benchmark::State& state)
{
    CommandView c;
    c.dialogs->AcceptAs<MakeTinDlg>();
    c.view->Settings().tinOption.m_nConsiderBreakLineSw = 1;
    c.view->Settings().splitBreakLines = 0;
    CModelDataMng& store = c.view->ModelStore();
    store.m_elmList = CadFigures();
    store.RebuildCadLayers();
    for (auto _ : state) {
        state.PauseTiming();
        store.m_cadTin.ClearVertex();
        c.view->ClearUndoFiles(0);
        c.boxes->Clear();
        state.ResumeTiming();
        c.Run(kMakeTinFromCad);
    }
    state.counters["triangles"] = store.m_cadTin.GetTriangleCount();
}
BENCHMARK(BM_MakeTinFromCad)->Unit(benchmark::kMillisecond)->UseRealTime();

// The store's part of the command on its own.
void BM_GenerateCadTinAlone(benchmark::State& state)
{
    CModelDataMng store;
    store.m_elmList = CadFigures();
    store.RebuildCadLayers();
    XTinOption option;
    option.m_nConsiderBreakLineSw = 1;
    for (auto _ : state) {
        state.PauseTiming();
        store.m_cadTin.ClearVertex();
        state.ResumeTiming();
        store.GenerateCadTin(&option);
    }
    state.counters["triangles"] = store.m_cadTin.GetTriangleCount();
}
BENCHMARK(BM_GenerateCadTinAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same vertices and segments straight into CGAL, with the faces read out.
void BM_BareConstrainedTriangulation(benchmark::State& state)
{
    using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
    using Traits = CGAL::Projection_traits_xy_3<Kernel>;
    using Vb = CGAL::Triangulation_vertex_base_with_info_2<std::uint32_t, Traits>;
    using Fb = CGAL::Constrained_triangulation_face_base_2<Traits>;
    using Tds = CGAL::Triangulation_data_structure_2<Vb, Fb>;
    using Cdt = CGAL::Constrained_Delaunay_triangulation_2<Traits, Tds, CGAL::Exact_predicates_tag>;

    std::vector<std::pair<Kernel::Point_3, std::uint32_t>> points;
    std::vector<std::array<std::uint32_t, 2>> segments;
    for (const CElmData& e : CadFigures()) {
        const auto first = static_cast<std::uint32_t>(points.size());
        for (const PT& p : e.m_ptLists[0])
            points.emplace_back(Kernel::Point_3(p.x(), p.y(), p.z()), static_cast<std::uint32_t>(points.size()));
        for (std::uint32_t k = first; k + 1 < points.size(); ++k)
            segments.push_back({k, k + 1});
    }
    std::size_t faces = 0;
    for (auto _ : state) {
        Cdt cdt;
        cdt.insert(points.begin(), points.end());
        std::vector<Cdt::Vertex_handle> vertexOf(points.size());
        for (auto v = cdt.finite_vertices_begin(); v != cdt.finite_vertices_end(); ++v)
            vertexOf[v->info()] = v;
        for (const auto& [a, b] : segments)
            cdt.insert_constraint(vertexOf[a], vertexOf[b]);
        std::vector<std::array<std::uint32_t, 3>> triangles;
        triangles.reserve(cdt.number_of_faces());
        for (auto f = cdt.finite_faces_begin(); f != cdt.finite_faces_end(); ++f)
            triangles.push_back({f->vertex(0)->info(), f->vertex(1)->info(), f->vertex(2)->info()});
        faces = triangles.size();
        benchmark::DoNotOptimize(triangles.data());
    }
    state.counters["triangles"] = static_cast<double>(faces);
}
BENCHMARK(BM_BareConstrainedTriangulation)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---------------------------------------------------------------- export

// A folder of this run's own, removed with everything in it when the program ends.
fs::path Scratch()
{
    struct Folder {
        fs::path path = fs::temp_directory_path() / ("tessara-bench-commands-" + std::to_string(::getpid()));
        Folder() { fs::create_directories(path); }
        ~Folder()
        {
            std::error_code error;
            fs::remove_all(path, error);
        }
    };
    static const Folder folder;
    return folder.path;
}

// The converters of this build on PATH, as the viewer finds them beside itself.
void ToolsOnPath()
{
    const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin";
    const std::string path = bin.string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "");
    ::setenv("PATH", path.c_str(), 1);
}

// A scan-like cloud: small steps along lines, smooth colour (as bench_exports).
std::unique_ptr<CPCloudMng> ScanCloud(int n)
{
    auto g = std::make_unique<CPCloudMng>();
    g->ReserveCloudPoint(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const float x = float(i % 4000) * 0.01f, y = float(i / 4000) * 0.01f;
        g->AddCloudPoint(x - 20000.0f, y + 30000.0f, 50.0f + 0.001f * float(i % 997),
                         COLORREF((i / 40) & 0xFF) | (COLORREF((i / 400) & 0xFF) << 8), double(i % 4096));
    }
    g->m_nShowGroup = g->m_nShowPCloud = 1;
    return g;
}

void ReportPoints(benchmark::State& state, const fs::path& out)
{
    state.counters["points/s"] =
        benchmark::Counter(double(state.range(0)) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["MB"] = fs::exists(out) ? double(fs::file_size(out)) / 1048576.0 : 0.0;
}

// 32837 with the dialog answered by a typed name: the command, the save
// dispatcher, the LAS saver with its boxes and the view's lock.
void BM_ExportCommand(benchmark::State& state)
{
    ToolsOnPath();
    CommandView c;
    InstallDialogHooks();
    const fs::path out = Scratch() / "command.las";
    c.view->SetWorkFolder(Scratch().string() + "/");
    c.view->FilesState().scene.frame.surveyTransform = MTRX();
    c.view->Settings().lasSplitMode = 0;
    c.view->ModelStore().AddGroup(ScanCloud(static_cast<int>(state.range(0))));
    c.dialogs->Answer<ExportFileDlg>([&](ExportFileDlg::Values& v) {
        v.fileName = out.filename().string();
        return tessara::IDOK;
    });
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(out);
        c.boxes->Clear();
        state.ResumeTiming();
        c.Run(kExport);
    }
    if (!fs::exists(out)) state.SkipWithError("nothing written");
    ReportPoints(state, out);
    RemoveDialogHooks();
}
BENCHMARK(BM_ExportCommand)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The dump-and-convert export alone on the same points.
void BM_DumpAndConvertExport(benchmark::State& state)
{
    ToolsOnPath();
    CModelDataMng store;
    store.AddGroup(ScanCloud(static_cast<int>(state.range(0))));
    const fs::path out = Scratch() / "alone.las";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(out);
        state.ResumeTiming();
        const LasExportResult r = ExportLasFile(out.string(), store, MTRX(), {}, [](const std::function<void()>& f) { f(); });
        if (!r.ok) state.SkipWithError(r.error.c_str());
    }
    ReportPoints(state, out);
}
BENCHMARK(BM_DumpAndConvertExport)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace

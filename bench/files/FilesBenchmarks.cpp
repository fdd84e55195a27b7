// Speed of the host link and the scene files against the plain system calls that
// move the same bytes, in the same run.
#include "viewer/files/HostDataContent.h"
#include "viewer/files/HostDataFileReader.h"
#include "viewer/files/MakeUniqueGroupName.h"
#include "viewer/files/ModelFile.h"
#include "viewer/files/PipeCommandTarget.h"
#include "viewer/files/PipeMessage.h"
#include "viewer/files/PipeServer.h"

#include "HostFileWriter.h"

#include "outside/CModelDataMng.h"
#include "outside/CNamedPipe.h"
#include "platform/MemoryProfile.h"
#include "platform/MessageBox.h"
#include "platform/IProfile.h"
#include "platform/ScriptedMessageBoxes.h"
#include "viewer/render/COpenGLBaseView.h"
#include "viewer/render/CModelViewerView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <fcntl.h>
#include <filesystem>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kPoints = 10'000'000;

fs::path Scratch()
{
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("tessara-bench-files-" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// The 10,000,000-point group file, written once per run.
const fs::path& GroupFile()
{
    static const fs::path path = [] {
        fs::path p = Scratch() / "group.dat";
        std::vector<std::uint8_t> bytes;
        hostfile::WriteHostFile(hostfile::MakeExample({kPoints, 0, 0, 0}), bytes);
        hostfile::SaveBytes(p.string(), bytes);
        return p;
    }();
    return path;
}

std::size_t PlainRead(const fs::path& path, std::vector<char>& buffer)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::size_t total = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got <= 0) break;
        total += std::size_t(got);
    }
    ::close(fd);
    return total;
}

void BM_PlainReadHostFile(benchmark::State& state)
{
    const fs::path& file = GroupFile();
    std::vector<char> buffer(4 << 20);
    for (auto _ : state) benchmark::DoNotOptimize(PlainRead(file, buffer));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(fs::file_size(file)));
}

double Ms(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The loaded copy of the group file, written outside the timing and synced, so the
// load meets a clean file in the page cache as the plain read does (no write-back
// of the copy runs during the timing).
fs::path FreshCopy()
{
    const fs::path copy = Scratch() / "load.dat";
    fs::copy_file(GroupFile(), copy, fs::copy_options::overwrite_existing);
    const int fd = ::open(copy.c_str(), O_RDONLY);
    ::fsync(fd);
    ::close(fd);
    return copy;
}

// Timed: the plain read of the same bytes, taken right before each load and
// reported beside it (read_ms, x_read = load time / read time over the iterations),
// so load and read share the state of the machine.
struct PairedRead {
    double readMs = 0;
    double loadMs = 0;
    std::vector<char> buffer = std::vector<char>(4 << 20);

    void Read(const fs::path& file)
    {
        const auto t = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(PlainRead(file, buffer));
        readMs += Ms(std::chrono::steady_clock::now() - t);
    }
    void Report(benchmark::State& state) const
    {
        const double n = double(std::max<std::int64_t>(state.iterations(), 1));
        state.counters["read_ms"] = readMs / n;
        state.counters["load_ms"] = loadMs / n;
        state.counters["x_read"] = readMs > 0 ? loadMs / readMs : 0;
    }
};

// CModelViewerView::LoadHostDataFile of the 10,000,000-point group file into a
// fresh view (and so a fresh store) each iteration, as the host's command 0 makes
// it: read and validated, the group and its grid built, installed, the file
// deleted. A first load: no undo snapshot. One load before the timing warms what a
// process warms once (worker threads' memory, the file in the page cache).
void BM_LoadHostDataFile(benchmark::State& state)
{
    PairedRead paired;
    {
        auto view = std::make_unique<CModelViewerView>();
        view->Create();
        if (view->LoadHostDataFile(FreshCopy().string(), 0, 0) != 1) state.SkipWithError("warm-up load failed");
    }
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path copy = FreshCopy();
        auto view = std::make_unique<CModelViewerView>();
        view->Create();
        paired.Read(copy);
        state.ResumeTiming();
        const auto t = std::chrono::steady_clock::now();
        const int loaded = view->LoadHostDataFile(copy.string(), 0, 0);
        paired.loadMs += Ms(std::chrono::steady_clock::now() - t);
        state.PauseTiming();
        if (loaded != 1 || view->ModelStore().GetGroupCount() != 1 ||
            view->ModelStore().GetGroup(0)->GetCloudPointSize() != kPoints || fs::exists(copy))
            state.SkipWithError("load failed");
        view.reset();
        state.ResumeTiming();
    }
    paired.Report(state);
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kPoints);
}

// The reader's and the store's share alone (no view, the file removed outside the
// timing): read and validate, build the group and its grid off the store, install
// it in a fresh store.
void BM_ReadHostDataFileIntoStore(benchmark::State& state)
{
    PairedRead paired;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path copy = FreshCopy();
        auto store = std::make_unique<CModelDataMng>();
        paired.Read(copy);
        state.ResumeTiming();
        const auto t = std::chrono::steady_clock::now();
        HostDataContent content;
        HostDataFileReader reader(MTRX(), false);
        if (reader.Read(copy.string(), content) != HostDataFileReader::Result::Ok) state.SkipWithError("read failed");
        content.group->m_nColor = CModelDataMng::GetDefPointCloudGroupCol(0);
        MakeUniqueGroupName(content.groupName, *store, *content.group, 0);
        store->AddGroup(std::move(content.group));
        paired.loadMs += Ms(std::chrono::steady_clock::now() - t);
        state.PauseTiming();
        fs::remove(copy);
        store.reset();
        state.ResumeTiming();
    }
    paired.Report(state);
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kPoints);
}

// The store's own share of a load: bounds and grid of 10,000,000 points.
void BM_StoreCreateGrid(benchmark::State& state)
{
    CPCloudMng group;
    group.ReserveCloudPoint(kPoints);
    for (int i = 0; i < kPoints; ++i)
        group.AddCloudPoint(float(i % 3163), float(i / 3163), 50.0f, 0x336699, 0.0);
    for (auto _ : state) group.CreateGrid();
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kPoints);
}

CModelDataMng& BigScene()
{
    static CModelDataMng* scene = [] {
        auto* s = new CModelDataMng;
        auto g = std::make_unique<CPCloudMng>();
        g->ReserveCloudPoint(kPoints);
        for (int i = 0; i < kPoints; ++i)
            g->AddCloudPoint(float(i % 3163), float(i / 3163), 50.0f + 0.01f * float(i % 977), 0x336699, i % 1000);
        g->m_nDataFlag = 1;
        s->AddGroup(std::move(g));
        return s;
    }();
    return *scene;
}

const fs::path& ModelFilePath()
{
    static const fs::path model = [] {
        const fs::path p = Scratch() / "scene.tpf";
        if (!fs::exists(p)) {
            ModelViewState view;
            ModelFile::Save(p.string(), BigScene(), view, 0xFFFF);
        }
        return p;
    }();
    return model;
}

void BM_ModelSave(benchmark::State& state)
{
    CModelDataMng& scene = BigScene();
    ModelViewState view;
    const fs::path path = Scratch() / "scene.tpf";
    for (auto _ : state) {
        if (ModelFile::Save(path.string(), scene, view, 0xFFFF) != ModelFile::SaveResult::Ok)
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(fs::file_size(path)));
}

// The same bytes written plainly, with the same sync and rename a save makes.
void BM_PlainWriteFsync(benchmark::State& state)
{
    const fs::path& model = ModelFilePath();
    const std::size_t size = fs::file_size(model);
    std::vector<char> bytes(size, 1);
    const fs::path temp = Scratch() / "plain.tmp";
    const fs::path target = Scratch() / "plain.bin";
    for (auto _ : state) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::write(fd, bytes.data() + done, std::min<std::size_t>(size - done, 4 << 20));
            if (n <= 0) break;
            done += std::size_t(n);
        }
        ::fsync(fd);
        ::close(fd);
        fs::rename(temp, target);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(size));
}

// ModelFile::Read and Install of the 10,000,000-point scene into a fresh store,
// with the plain read of the same file paired as for the host file, after one
// untimed load.
void BM_ModelLoad(benchmark::State& state)
{
    const fs::path& model = ModelFilePath();
    PairedRead paired;
    {
        // One load before the timing, as for the host file.
        ModelFile::Loaded warm;
        if (ModelFile::Read(model.string(), warm) != ModelFile::LoadResult::Ok) state.SkipWithError("warm-up failed");
    }
    for (auto _ : state) {
        state.PauseTiming();
        paired.Read(model);
        state.ResumeTiming();
        const auto t = std::chrono::steady_clock::now();
        ModelFile::Loaded loaded;
        if (ModelFile::Read(model.string(), loaded) != ModelFile::LoadResult::Ok) state.SkipWithError("load failed");
        auto live = std::make_unique<CModelDataMng>();
        ModelViewState view;
        ModelFile::Install(loaded, *live, view);
        benchmark::DoNotOptimize(live->GetGroupCount());
        paired.loadMs += Ms(std::chrono::steady_clock::now() - t);
        state.PauseTiming();
        loaded.scratch.reset();
        live.reset();  // taking the scene down is no part of loading it
        state.ResumeTiming();
    }
    paired.Report(state);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(fs::file_size(model)));
}

void BM_PlainReadModelFile(benchmark::State& state)
{
    const fs::path& model = ModelFilePath();
    std::vector<char> buffer(4 << 20);
    for (auto _ : state) benchmark::DoNotOptimize(PlainRead(model, buffer));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(fs::file_size(model)));
}

class NoOpTarget : public PipeCommandTarget {
public:
    int LoadHostDataFile(const std::string&) override { return 1; }
    int WriteExchangeFile(const std::string&, std::int32_t, std::int32_t) override { return 0; }
    int ExportPointsInPolygons(const std::string&) override { return 0; }
    int WriteShownTins(const std::string&) override { return 0; }
    int ReadHostPolygonFile(const std::string&) override { return 0; }
    int ClearHostPolygons() override { return 1; }
};

// 10,000 round trips of the 589-byte record through the server, each with its own
// connection as the host makes them; every reply is checked.
void BM_PipeRoundTrips(benchmark::State& state)
{
    const fs::path run = Scratch() / "run";
    fs::create_directories(run);
    fs::permissions(run, fs::perms::owner_all);
    ::setenv("TESSARA_PIPE_DIR", run.c_str(), 1);
    NoOpTarget target;
    PipeServer server(target, "\\\\.\\PIPE\\ORVANE_SendMessage2");
    std::thread worker([&] { PipeServerThreadProc(server); });
    while (!server.Serving()) std::this_thread::yield();
    std::int64_t lost = 0;
    for (auto _ : state) {
        for (int i = 0; i < 10'000; ++i) {
            CNamedPipe client;
            PipeMessage m;
            m.SetCode(22);
            if (!client.Open("\\\\.\\PIPE\\ORVANE_SendMessage2") || !client.Write(m.Data(), PipeMessage::kSize) ||
                !client.Read(m.Data(), PipeMessage::kSize) || m.Result() != 1)
                ++lost;
        }
    }
    server.RequestStop();
    worker.join();
    state.counters["lost"] = double(lost);
    state.SetItemsProcessed(std::int64_t(state.iterations()) * 10'000);
}

}  // namespace

BENCHMARK(BM_PlainReadHostFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadHostDataFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReadHostDataFileIntoStore)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StoreCreateGrid)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainWriteFsync)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ModelSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainReadModelFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ModelLoad)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PipeRoundTrips)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    // The view needs an application object; without a display it runs offscreen.
    if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    // The view's pipe socket, undo snapshots and settings stay in the scratch folder.
    const fs::path run = Scratch() / "view-run";
    fs::create_directories(run);
    fs::permissions(run, fs::perms::owner_all);
    ::setenv("TESSARA_PIPE_DIR", run.c_str(), 1);
    ::setenv("TMPDIR", Scratch().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", Scratch().c_str(), 1);
    tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
    tessara::SetMessageBoxService(std::make_shared<tessara::ScriptedMessageBoxes>());
    COpenGLBaseView::SetDefaultSurfaceFormat();
    int qtArgc = 1;
    auto app = std::make_unique<QApplication>(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    app.reset();
    std::filesystem::remove_all(Scratch());
    return 0;
}

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

#include <benchmark/benchmark.h>

#include <cstdlib>
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

// What LoadHostDataFile does for a first load: read and validate, build the group
// and its grid off the store, install it in a fresh store.
void BM_LoadHostDataFile(benchmark::State& state)
{
    const fs::path& file = GroupFile();
    const fs::path copy = Scratch() / "load.dat";
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
        auto store = std::make_unique<CModelDataMng>();
        state.ResumeTiming();
        HostDataContent content;
        HostDataFileReader reader(MTRX(), false);
        if (reader.Read(copy.string(), content) != HostDataFileReader::Result::Ok) state.SkipWithError("read failed");
        content.group->m_nColor = CModelDataMng::GetDefPointCloudGroupCol(0);
        MakeUniqueGroupName(content.groupName, *store, *content.group, 0);
        store->AddGroup(std::move(content.group));
        fs::remove(copy);
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
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
    const fs::path model = Scratch() / "scene.tpf";
    if (!fs::exists(model)) {
        ModelViewState view;
        ModelFile::Save(model.string(), BigScene(), view, 0xFFFF);
    }
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

void BM_ModelLoad(benchmark::State& state)
{
    const fs::path model = Scratch() / "scene.tpf";
    if (!fs::exists(model)) {
        ModelViewState view;
        ModelFile::Save(model.string(), BigScene(), view, 0xFFFF);
    }
    for (auto _ : state) {
        ModelFile::Loaded loaded;
        if (ModelFile::Read(model.string(), loaded) != ModelFile::LoadResult::Ok) state.SkipWithError("load failed");
        CModelDataMng live;
        ModelViewState view;
        ModelFile::Install(loaded, live, view);
        benchmark::DoNotOptimize(live.GetGroupCount());
        state.PauseTiming();
        loaded.scratch.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(fs::file_size(model)));
}

void BM_PlainReadModelFile(benchmark::State& state)
{
    const fs::path model = Scratch() / "scene.tpf";
    if (!fs::exists(model)) {
        ModelViewState view;
        ModelFile::Save(model.string(), BigScene(), view, 0xFFFF);
    }
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
BENCHMARK(BM_LoadHostDataFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StoreCreateGrid)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainWriteFsync)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ModelSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainReadModelFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ModelLoad)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PipeRoundTrips)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Scratch());
    return 0;
}

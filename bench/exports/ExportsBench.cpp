// Speed of the exports against a raw write of the same number of bytes with the
// same fsync, in the same run: text files, the exchange file's point part and the
// LAS export (dump, lasconsole, rename), with its two halves on their own.
#include "viewer/files/BufferedFileWriter.h"
#include "viewer/files/ExchangeFile.h"
#include "viewer/files/LasExport.h"
#include "viewer/files/LasDump.h"
#include "LasConsole.h"
#include "viewer/files/PointTextExport.h"

#include "outside/CModelDataMng.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kPoints = 10'000'000;

fs::path Scratch()
{
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("tessara-bench-exports-" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// A scan-like cloud: small steps along lines, smooth colour.
const CModelDataMng& Store()
{
    static const std::unique_ptr<CModelDataMng> store = [] {
        auto s = std::make_unique<CModelDataMng>();
        s->m_nShowRoot = 1;
        auto g = std::make_unique<CPCloudMng>();
        g->ReserveCloudPoint(kPoints);
        for (int i = 0; i < kPoints; ++i) {
            const float x = float(i % 4000) * 0.01f, y = float(i / 4000) * 0.01f;
            g->AddCloudPoint(x - 20000.0f, y + 30000.0f, 50.0f + 0.001f * float(i % 997),
                             COLORREF((i / 40) & 0xFF) | (COLORREF((i / 400) & 0xFF) << 8), double(i % 4096));
        }
        g->m_nShowGroup = g->m_nShowPCloud = 1;
        s->AddGroup(std::move(g));
        return s;
    }();
    return *store;
}

// The baseline: bytes of that size written in 1 MB blocks, fsynced, closed.
void RawWrite(const fs::path& path, std::uint64_t bytes)
{
    static const std::string block(1 << 20, 'x');
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    for (std::uint64_t left = bytes; left > 0;) {
        const std::size_t n = std::size_t(std::min<std::uint64_t>(left, block.size()));
        if (::write(fd, block.data(), n) != ssize_t(n)) break;
        left -= n;
    }
    ::fsync(fd);
    ::close(fd);
}

void Report(benchmark::State& state, std::uint64_t bytes)
{
    state.counters["points/s"] = benchmark::Counter(double(kPoints) * double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    state.counters["MB"] = double(bytes) / 1048576.0;
}

void BM_SimExport(benchmark::State& state)
{
    const CModelDataMng& store = Store();
    const std::string path = (Scratch() / "p.sim").string();
    for (auto _ : state) benchmark::DoNotOptimize(WriteSurveyPointText(store, MTRX(), path));
    Report(state, fs::file_size(path));
}

void BM_SimRawWrite(benchmark::State& state)
{
    const std::uint64_t bytes = fs::exists(Scratch() / "p.sim") ? fs::file_size(Scratch() / "p.sim") : 0;
    for (auto _ : state) RawWrite(Scratch() / "raw.sim", bytes);
    Report(state, bytes);
}

void BM_XyzExport(benchmark::State& state)
{
    const CModelDataMng& store = Store();
    const std::string path = (Scratch() / "p.xyz").string();
    for (auto _ : state) benchmark::DoNotOptimize(WriteCommaPointText(store, MTRX(), path, 1.0, 1, {}));
    Report(state, fs::file_size(path));
}

void BM_XyzRawWrite(benchmark::State& state)
{
    const std::uint64_t bytes = fs::exists(Scratch() / "p.xyz") ? fs::file_size(Scratch() / "p.xyz") : 0;
    for (auto _ : state) RawWrite(Scratch() / "raw.xyz", bytes);
    Report(state, bytes);
}

void BM_ExchangePointPart(benchmark::State& state)
{
    const CModelDataMng& store = Store();
    const std::string path = (Scratch() / "exchange.dat").string();
    ExchangeFile file(store, MTRX());
    for (auto _ : state) benchmark::DoNotOptimize(file.WriteExchangeFile(path, ExchangeFile::kPointPart, 0, 0xFF));
    Report(state, fs::file_size(path));
}

void BM_ExchangeRawWrite(benchmark::State& state)
{
    const std::uint64_t bytes = 10 + 4 + std::uint64_t(kPoints) * 36;
    for (auto _ : state) RawWrite(Scratch() / "raw.dat", bytes);
    Report(state, bytes);
}

void BM_LasExport(benchmark::State& state)
{
    // lasconsole is found beside the viewer; here the project's bin folder goes on PATH.
    const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin";
    const std::string path = bin.string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "");
    ::setenv("PATH", path.c_str(), 1);
    const CModelDataMng& store = Store();
    const std::string out = (Scratch() / "p.las").string();
    for (auto _ : state) {
        const LasExportResult r =
            ExportLasFile(out, store, MTRX(), {}, [](const std::function<void()>& f) { f(); });
        if (!r.ok) state.SkipWithError(r.error.c_str());
    }
    Report(state, fs::exists(out) ? fs::file_size(out) : 0);
}

// The LAS export's two halves on their own: the viewer's dump, and the converter
// in this process (no program start).
void BM_LasDumpPart(benchmark::State& state)
{
    const CModelDataMng& store = Store();
    const std::string out = (Scratch() / "p.dump").string();
    for (auto _ : state) {
        lasdump::Position at;
        if (!lasdump::WriteDump(out, store, MTRX(), at, lasdump::kNoLimit).written) state.SkipWithError("no dump");
    }
    Report(state, fs::exists(out) ? fs::file_size(out) : 0);
}

void BM_LasConverterPart(benchmark::State& state)
{
    const std::string dump = (Scratch() / "p.dump").string();
    lasdump::Position at;
    if (!lasdump::WriteDump(dump, Store(), MTRX(), at, lasdump::kNoLimit).written) state.SkipWithError("no dump");
    const std::string out = (Scratch() / "q.las").string();
    for (auto _ : state) {
        std::string error;
        if (!lasconsole::ConvertDumpToLas(dump, out, error)) state.SkipWithError(error.c_str());
    }
    Report(state, fs::exists(out) ? fs::file_size(out) : 0);
}

void BM_LasRawWrite(benchmark::State& state)
{
    const std::uint64_t bytes = 227 + std::uint64_t(kPoints) * 26;
    for (auto _ : state) RawWrite(Scratch() / "raw.las", bytes);
    Report(state, bytes);
}

BENCHMARK(BM_SimExport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_SimRawWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_XyzExport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_XyzRawWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ExchangePointPart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ExchangeRawWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_LasExport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_LasDumpPart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_LasConverterPart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_LasRawWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(Scratch(), ec);
    return 0;
}

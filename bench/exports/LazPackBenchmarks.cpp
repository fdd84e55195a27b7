// LAZ compression of a generated scan: points per second with one worker and with
// more, and the LAZ size as a share of the LAS (counter "laz_over_las").
#include "LazPack.h"

#include "platform/Files.h"
#include "platform/Parallel.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kPoints = 10'000'000;

// Scan lines 2,000 points long, back and forth 5 cm apart, 1 cm steps along a
// line over gently rolling ground, with smooth intensity and colour (mm units).
std::string GenerateLas(const std::string& folder)
{
    const std::string path = folder + "/scan.las";
    std::ofstream out(path, std::ios::binary);
    std::string header(lazpack::kLasHeaderBytes, '\0');
    std::memcpy(header.data(), "LASF", 4);
    header[24] = 1, header[25] = 2;
    const auto set = [&](std::size_t at, auto v) { std::memcpy(header.data() + at, &v, sizeof v); };
    set(94, std::uint16_t{227});
    set(96, std::uint32_t{227});
    header[104] = 2;
    set(105, std::uint16_t{26});
    set(107, kPoints);
    for (int d = 0; d < 3; ++d) set(131 + 8 * d, 0.001);
    out.write(header.data(), static_cast<std::streamsize>(header.size()));

    constexpr std::uint32_t kLine = 2000;
    std::vector<char> block;
    block.reserve(26 * kLine);
    std::uint32_t noise = 12345;
    for (std::uint32_t i = 0; i < kPoints; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const std::uint32_t line = i / kLine, along = i % kLine;
        const std::int32_t x = static_cast<std::int32_t>((line % 2 == 0 ? along : kLine - 1 - along) * 10);
        const std::int32_t y = static_cast<std::int32_t>(line * 50 + (noise >> 30));
        const double ground = 2000.0 * std::sin(x / 7000.0) + 1500.0 * std::cos(y / 9000.0);
        const std::int32_t z = static_cast<std::int32_t>(ground) + static_cast<std::int32_t>((noise >> 24) % 8);
        const auto intensity = static_cast<std::uint16_t>(18000 + 6000 * std::sin(i / 500.0) + (noise >> 28));
        const auto shade = static_cast<std::uint16_t>(32768 + 20000 * std::sin(x / 3000.0));
        const std::uint16_t rgb[3] = {shade, static_cast<std::uint16_t>(shade - 2570),
                                      static_cast<std::uint16_t>(shade / 2)};
        char r[26] = {};
        std::memcpy(r, &x, 4), std::memcpy(r + 4, &y, 4), std::memcpy(r + 8, &z, 4);
        std::memcpy(r + 12, &intensity, 2);
        r[14] = 0x09, r[15] = 2, r[16] = static_cast<char>(static_cast<int>(along * 40 / kLine) - 20);
        r[18] = 1;
        std::memcpy(r + 20, rgb, 6);
        block.insert(block.end(), r, r + 26);
        if (block.size() == block.capacity()) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            block.clear();
        }
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
    return path;
}

// The LAS is made once for all runs.
struct Scan {
    std::string folder = tessara::TempFolder() + "/bench-lazpack-" + std::to_string(::getpid());
    std::string las;
    Scan()
    {
        std::filesystem::create_directories(folder);
        las = GenerateLas(folder);
    }
    ~Scan() { std::filesystem::remove_all(folder); }
};

Scan& TheScan()
{
    static Scan scan;
    return scan;
}

// Arg: workers (0: every usable processor, up to the cap).
void BM_LazPack(benchmark::State& state)
{
    const Scan& scan = TheScan();
    const std::string laz = scan.folder + "/scan.laz";
    const std::size_t previous = tessara::SetWorkerCount(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string error;
        if (!lazpack::CompressLasFile(scan.las, laz, error)) state.SkipWithError(error.c_str());
    }
    tessara::SetWorkerCount(previous);
    state.counters["workers"] = static_cast<double>(state.range(0) == 0 ? tessara::WorkerCount() : state.range(0));
    state.counters["points_per_s"] =
        benchmark::Counter(static_cast<double>(kPoints) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["laz_over_las"] = static_cast<double>(std::filesystem::file_size(laz)) /
                                     static_cast<double>(std::filesystem::file_size(scan.las));
}
// CPU is the process's (every worker's): on a machine shared with other work the
// wall-clock ratio says how many processors were to be had, the CPU column whether
// more workers cost more work.
BENCHMARK(BM_LazPack)
    ->Arg(1)
    ->Arg(4)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(2);

} // namespace

BENCHMARK_MAIN();

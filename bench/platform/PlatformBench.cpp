#include "platform/Cp932.h"
#include "platform/Numbers.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

// Printed coordinates: the exports write three of these per point.
void BM_FormatFixed4(benchmark::State& state)
{
    double v = -12345.678912345;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessara::FormatFixed(v, 4));
        v += 0.000123;
    }
}
BENCHMARK(BM_FormatFixed4);

void BM_RoundDecimal3(benchmark::State& state)
{
    double v = 0.0145;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessara::RoundDecimal(v, 3));
        v += 1e-7;
    }
}
BENCHMARK(BM_RoundDecimal3);

void BM_ParseDouble(benchmark::State& state)
{
    const std::string text = "-12345.6789";
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessara::ParseDouble(text));
    }
}
BENCHMARK(BM_ParseDouble);

// A 260-byte path limit on a mixed Japanese and ASCII path.
void BM_CutToCp932Bytes(benchmark::State& state)
{
    std::string path = "/home/user/測量データ/";
    while (path.size() < 400) {
        path += "点群ファイル_001/";
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessara::CutToCp932Bytes(path, 260));
    }
}
BENCHMARK(BM_CutToCp932Bytes);

void BM_ToCp932(benchmark::State& state)
{
    const std::string text = "処理が正常に行われました。 C:\\data\\点群.dat";
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessara::ToCp932(text));
    }
}
BENCHMARK(BM_ToCp932);

} // namespace

BENCHMARK_MAIN();

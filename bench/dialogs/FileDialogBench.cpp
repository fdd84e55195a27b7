// The file choice over a large work folder: 10,000 model files among 10,000
// others, listed and shown (columns sized once). Baseline: the bare folder listing.
// The program's main (DialogsBench.cpp) makes the application.
#include "platform/Files.h"
#include "viewer/dialogs/FileSimpleDlg.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

const std::string& Folder()
{
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "bench-dialogs-models";
        if (!std::filesystem::exists(path / "done")) {
            std::filesystem::create_directories(path);
            for (int i = 0; i < 10000; ++i) {
                std::ofstream(path / ("model" + std::to_string(i) + ".tpf")) << 'x';
                std::ofstream(path / ("other" + std::to_string(i) + ".las")) << 'x';
            }
            std::ofstream(path / "done") << 'x';
        }
        return path.string() + "/";
    }();
    return folder;
}

void BM_ListFolder(benchmark::State& state)
{
    const std::string& folder = Folder();
    for (auto _ : state)
        benchmark::DoNotOptimize(tessara::ListFiles(folder, "tpf"));
}
BENCHMARK(BM_ListFolder)->Unit(benchmark::kMillisecond);

void BM_FileSimpleDlgOpens(benchmark::State& state)
{
    const std::string& folder = Folder();
    for (auto _ : state) {
        FileSimpleDlg dialog(nullptr);
        dialog.SetValues({folder, "tpf", {}});
        dialog.show();
        QApplication::processEvents();
        dialog.hide();
    }
}
BENCHMARK(BM_FileSimpleDlgOpens)->Unit(benchmark::kMillisecond);

} // namespace

// Saving the view as a BMP file at 3840 x 2160 on the platform's GL (llvmpipe
// under Xvfb): WriteBitmapFile (read the cached picture, atomic replace with
// fsync and rename) against its floor in the same run, a bare glReadPixels of
// the same framebuffer plus one plain write and fsync of the same bytes.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/Files.h"
#include "platform/MemoryProfile.h"
#include "viewer/dialogs/BitmapFile.h"
#include "viewer/render/COpenGLBaseView.h"

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;

std::unique_ptr<QApplication> g_app;

// A shown view at the benchmark's size with one frame in its cache; null when
// there is no GL context or the frame could not be made at that size.
std::unique_ptr<COpenGLBaseView> ShownView(benchmark::State& state)
{
    auto view = std::make_unique<COpenGLBaseView>();
    view->resize(kWidth, kHeight);
    view->show();
    for (int i = 0; i < 500 && view->SceneFrameCount() == 0; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    if (view->SceneFrameCount() == 0 || view->ClientWidth() != kWidth || view->ClientHeight() != kHeight) {
        state.SkipWithError("no GL frame at 3840 x 2160");
        return nullptr;
    }
    return view;
}

std::string BenchFile()
{
    return tessara::TempFolder() + "bench-dialogs.bmp";
}

void BM_WriteBitmapFile(benchmark::State& state)
{
    auto view = ShownView(state);
    if (!view) return;
    const std::string path = BenchFile();
    for (auto _ : state) {
        if (!WriteBitmapFile(*view, path)) {
            state.SkipWithError("WriteBitmapFile failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * (static_cast<std::int64_t>(kWidth) * kHeight * 4 + 54));
    tessara::DeleteFile(path);
}

void BM_BareReadPixelsWriteFsync(benchmark::State& state)
{
    auto view = ShownView(state);
    if (!view) return;
    const std::string path = BenchFile();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 4);
    const auto header = BitmapHeader(kWidth, kHeight);
    view->makeCurrent();
    GlFunctions& gl = *view->Gl();
    for (auto _ : state) {
        gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, view->CompositeFramebuffer());
        gl.glReadPixels(0, 0, kWidth, kHeight, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const bool written = fd >= 0 && ::write(fd, header.data(), header.size()) == 54 &&
                             ::write(fd, pixels.data(), pixels.size()) == static_cast<ssize_t>(pixels.size()) &&
                             ::fsync(fd) == 0;
        if (fd >= 0) ::close(fd);
        if (!written) {
            state.SkipWithError("plain write failed");
            break;
        }
    }
    view->doneCurrent();
    state.SetBytesProcessed(state.iterations() * (static_cast<std::int64_t>(pixels.size()) + 54));
    tessara::DeleteFile(path);
}

}  // namespace

BENCHMARK(BM_BareReadPixelsWriteFsync)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WriteBitmapFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
    COpenGLBaseView::SetDefaultSurfaceFormat();
    int qtArgc = 1;
    g_app = std::make_unique<QApplication>(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_app.reset();
    return 0;
}

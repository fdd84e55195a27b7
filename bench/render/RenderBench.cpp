// Frame costs of the base view on the platform's GL (llvmpipe under Xvfb), at
// 1280 x 800: an empty-scene frame (with and without the axis triad and the
// orientation cube), a redraw from the composite cache, a bare
// window-size blit, and a full frame with 1,000,000 points in the cloud layer
// (a bench-only VBO stands in for the point passes). Every timing ends with glFinish.
#include <QApplication>
#include <QOpenGLBuffer>
#include <QOpenGLFramebufferObject>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/MemoryProfile.h"
#include "viewer/render/CModelViewerView.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;

class BenchView : public CModelViewerView {
public:
    using COpenGLBaseView::paintGL;

    std::size_t cloudPoints = 0;

    void RenderScene(std::uint8_t pass, int) override
    {
        if (pass != 1 || cloudPoints == 0) return;
        GlFunctions& gl = *Gl();
        BindLayer(Layer::Cloud);
        if (!m_cloud.isCreated()) Upload();
        gl.glDisable(GL_LIGHTING);
        gl.glColor3f(0.9f, 0.5f, 0.1f);
        gl.glPointSize(1.0f);
        gl.glEnableClientState(GL_VERTEX_ARRAY);
        m_cloud.bind();
        gl.glVertexPointer(3, GL_FLOAT, 0, nullptr);
        gl.glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(cloudPoints));
        m_cloud.release();
        gl.glDisableClientState(GL_VERTEX_ARRAY);
        BindWindowFramebuffer();
    }

    void ReleaseViewGl() override
    {
        m_cloud.destroy();
        CModelViewerView::ReleaseViewGl();
    }

private:
    void Upload()
    {
        std::mt19937 random(7);
        std::uniform_real_distribution<float> plan(-40.0f, 40.0f);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        std::vector<float> xyz;
        xyz.reserve(cloudPoints * 3);
        for (std::size_t i = 0; i < cloudPoints; ++i) {
            const float x = plan(random);
            const float y = plan(random);
            xyz.insert(xyz.end(), {x, y, 0.05f * x + noise(random)});
        }
        m_cloud.create();
        m_cloud.setUsagePattern(QOpenGLBuffer::StaticDraw);
        m_cloud.bind();
        m_cloud.allocate(xyz.data(), static_cast<int>(xyz.size() * sizeof(float)));
        m_cloud.release();
    }

    QOpenGLBuffer m_cloud{QOpenGLBuffer::VertexBuffer};
};

std::unique_ptr<QApplication> g_app;

QApplication& App()
{
    return *g_app;
}

std::unique_ptr<BenchView> ShownView(std::size_t cloudPoints)
{
    App();
    auto view = std::make_unique<BenchView>();
    view->cloudPoints = cloudPoints;
    view->resize(kWidth, kHeight);
    view->show();
    for (int i = 0; i < 50 && !view->IsGlReady(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 20);
    view->makeCurrent();
    view->InvalidateScene();
    view->paintGL();
    view->Gl()->glFinish();
    return view;
}

// A shown view made current for the timed loop; null, the benchmark skipped, when
// there is no GL context.
std::unique_ptr<BenchView> CurrentView(benchmark::State& state, std::size_t cloudPoints)
{
    auto view = ShownView(cloudPoints);
    if (!view->IsGlReady()) {
        state.SkipWithError("no GL context");
        return nullptr;
    }
    view->makeCurrent();
    return view;
}

void SceneFrame(benchmark::State& state, std::size_t points, bool aids = true)
{
    auto view = CurrentView(state, points);
    if (!view) return;
    // The axis triad and the orientation cube (on by default).
    view->Settings().xyzMark = aids ? 1 : 0;
    view->Settings().compassMark = aids ? 1 : 0;
    for (auto _ : state) {
        view->InvalidateScene();
        view->paintGL();
        view->Gl()->glFinish();
    }
    state.counters["detail_level"] = view->DetailLevel();
    view->doneCurrent();
}

void BM_EmptySceneFrame(benchmark::State& state)
{
    SceneFrame(state, 0);
}

void BM_EmptySceneFrameWithoutAids(benchmark::State& state)
{
    SceneFrame(state, 0, false);
}

void BM_FullFrameMillionPoints(benchmark::State& state)
{
    SceneFrame(state, 1000000);
}

void CachedRedraw(benchmark::State& state, std::size_t points)
{
    auto view = CurrentView(state, points);
    if (!view) return;
    for (auto _ : state) {
        view->DrawXorOverlay(0);
        view->paintGL();
        view->Gl()->glFinish();
    }
    view->doneCurrent();
}

void BM_CachedRedraw(benchmark::State& state)
{
    CachedRedraw(state, 0);
}

void BM_CachedRedrawMillionPoints(benchmark::State& state)
{
    CachedRedraw(state, 1000000);
}

// A bare window-size blit from a colour framebuffer to the widget's framebuffer.
void BM_BareBlit(benchmark::State& state)
{
    auto view = CurrentView(state, 0);
    if (!view) return;
    GlFunctions& gl = *view->Gl();
    QOpenGLFramebufferObject source(kWidth, kHeight, QOpenGLFramebufferObject::NoAttachment, GL_TEXTURE_2D, GL_RGBA8);
    for (auto _ : state) {
        gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, source.handle());
        gl.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, view->defaultFramebufferObject());
        gl.glBlitFramebuffer(0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        gl.glFinish();
    }
    view->doneCurrent();
}

}  // namespace

BENCHMARK(BM_EmptySceneFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_EmptySceneFrameWithoutAids)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_CachedRedraw)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_BareBlit)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FullFrameMillionPoints)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CachedRedrawMillionPoints)->Unit(benchmark::kMillisecond)->MinTime(1.0);
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

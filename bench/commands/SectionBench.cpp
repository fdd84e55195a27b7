// Cross-section across a large scene: 1,000,000 cloud points scattered over a
// 1 km square and a 2,000,000-triangle TIN over the same square, the section
// running corner to corner. BM_PointPass reads every point once, for scale.
#include "viewer/commands/CrossSection.h"

#include "outside/CModelDataMng.h"
#include "outside/TJFONT.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

constexpr int kPoints = 1'000'000;
constexpr int kTinCells = 1000;   // 1000 x 1000 cells, two triangles each
constexpr float kSide = 1000.0f;

std::vector<LN>* g_strokes = nullptr;

// The labels in the system's stroke font, as the view writes them.
class StrokeFont : public SectionLabelFont {
public:
    StrokeFont() : m_font(std::string())
    {
        m_font.SetLineProc([](const LN& s) {
            if (g_strokes != nullptr)
                g_strokes->push_back(s);
        });
        m_font.SetSize(CrossSection::kLabelSize);
    }
    int Write(const std::string& text, std::vector<LN>& strokes) override
    {
        g_strokes = &strokes;
        m_font.SetPos(0.0, 0.0);
        const int n = m_font.String(text);
        g_strokes = nullptr;
        return n;
    }

private:
    TJFONT m_font;
};

float Ground(float x, float y) { return 20.0f + 0.01f * x + 3.0f * std::sin(y * 0.01f); }

const CModelDataMng& Scene()
{
    static const std::unique_ptr<CModelDataMng> store = [] {
        auto s = std::make_unique<CModelDataMng>();
        std::mt19937 random(7);
        std::uniform_real_distribution<float> along(0.0f, kSide);
        auto cloud = std::make_unique<CPCloudMng>();
        cloud->ReserveCloudPoint(kPoints);
        for (int i = 0; i < kPoints; ++i) {
            const float x = along(random), y = along(random);
            cloud->AddCloudPoint(x, y, Ground(x, y) + 1.0f, 0, 0.0);
        }
        cloud->CreateGrid();
        s->AddGroup(std::move(cloud));
        auto tin = std::make_unique<CPCloudMng>();
        const float step = kSide / kTinCells;
        tin->ReserveVertex(std::size_t(kTinCells + 1) * (kTinCells + 1));
        for (int j = 0; j <= kTinCells; ++j)
            for (int i = 0; i <= kTinCells; ++i)
                tin->AddVertex(i * step, j * step, Ground(i * step, j * step));
        tin->m_triangles.reserve(std::size_t(2) * kTinCells * kTinCells);
        for (std::uint32_t j = 0; j < kTinCells; ++j)
            for (std::uint32_t i = 0; i < kTinCells; ++i) {
                const std::uint32_t a = j * (kTinCells + 1) + i, b = a + 1, c = a + kTinCells + 2, d = a + kTinCells + 1;
                tin->m_triangles.emplace_back(a, b, c);
                tin->m_triangles.emplace_back(a, c, d);
            }
        tin->CVertexMng::CreateGrid();
        s->AddGroup(std::move(tin));
        return s;
    }();
    return *store;
}

void BM_CrossSection(benchmark::State& state)
{
    const CModelDataMng& store = Scene();
    StrokeFont font;
    SectionSettings settings;
    settings.throughPoints = (state.range(0) & 1) != 0;
    settings.throughTins = (state.range(0) & 2) != 0;
    std::size_t records = 0;
    for (auto _ : state) {
        const auto sheet = CrossSection::Build(store, SectionSpace(), PT(3.0, 5.0, 20.0), PT(997.0, 991.0, 30.0),
                                               settings, &font);
        records = sheet ? sheet->records.size() : 0;
        benchmark::DoNotOptimize(records);
    }
    state.counters["records"] = double(records);
}
// 3: points and TINs, as the view runs it; 1 points only, 2 TINs only.
BENCHMARK(BM_CrossSection)->Arg(3)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_PointPass(benchmark::State& state)
{
    const CPCloudMng& cloud = *Scene().GetGroup(0);
    for (auto _ : state) {
        double sum = 0.0;
        for (const auto& p : cloud.m_points)
            sum += p.z;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PointPass)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Speed of the host framework: the record walk, saving a GNSS table with its INI files,
// and one form PDF.
#include "hostfw/CPartDB.h"
#include "hostfw/FormServices.h"
#include "hostfw/IniBatchWriter.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/SvyForm.h"
#include "hostfw/Tab04827Data.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

std::filesystem::path BenchRoot()
{
    static const std::filesystem::path root = [] {
        auto path = std::filesystem::temp_directory_path() / ("bench-hostfw-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        setenv("PARTHOST_DATA_DIR", path.c_str(), 1);
        return path;
    }();
    return root;
}

PartSystem& WalkSystem()
{
    static std::unique_ptr<PartSystem> system = [] {
        std::string error;
        auto made = PartSystem::Open(BenchRoot() / "walk.db", true, error);
        made->Begin(error);
        for (DWORD address = 1; address <= 100000; ++address) {
            PartData part(4827, address);
            PartRecord f3;
            f3.SetShort(0, 1);
            part.PutRecord("F3", 0, f3);
            made->StorePart(part, error);
        }
        made->Commit(error);
        return made;
    }();
    return *system;
}

void BM_RecordWalk100000Parts(benchmark::State& state)
{
    PartSystem& system = WalkSystem();
    for (auto _ : state) {
        CPartDB db(&system, 4827);
        long count = 0;
        for (long rec = db.GetTopRecNo(); rec != -1; rec = db.GetNextRecNo(rec))
            count += db.IsActive(rec);
        benchmark::DoNotOptimize(count);
        if (count != 100000)
            state.SkipWithError("the walk missed parts");
    }
}
BENCHMARK(BM_RecordWalk100000Parts)->Unit(benchmark::kMillisecond);

void BM_SaveGnssTableWithEightIniFiles(benchmark::State& state)
{
    std::string error;
    auto system = PartSystem::Open(BenchRoot() / "save.db", true, error);
    CPartDB db(system.get(), 4827);
    Tab04827Data table;
    for (const RecordLayout& layout : Tab04827Data::Records().Records()) {
        PartRecord record(layout);
        for (std::size_t f = 0; f < layout.FieldCount(); ++f)
            if (layout.Fields()[f] == FieldKind::Text)
                record.SetText(f, "製品仕様書に従った適合性評価を行った。項目" + std::to_string(f));
        table.PutRecord(layout.Name(), 0, record);
    }
    const char* files[] = {"GPSHYOUKA.ini", "GPSHYOUKA_SUI.ini", "GPSHYOUKA_HYO3.ini", "GPSHYOUKA_HYO4.ini"};
    for (auto _ : state) {
        if (!db.Put(table)) {
            state.SkipWithError("the part did not store");
            break;
        }
        for (const char* folder : {"common", "user"}) {
            for (const char* file : files) {
                IniBatchWriter writer(BenchRoot() / folder / file);
                for (int key = 0; key < 64; ++key)
                    writer.WriteString("基準点品質評価表", "個位置キー" + std::to_string(key),
                                       "要求の文の例" + std::to_string(key));
                if (!writer.Commit(error))
                    state.SkipWithError("an INI file did not write");
            }
        }
    }
}
BENCHMARK(BM_SaveGnssTableWithEightIniFiles)->Unit(benchmark::kMillisecond);

void BM_OneFormPdf(benchmark::State& state)
{
    const std::filesystem::path forms = BenchRoot() / "forms";
    std::filesystem::create_directories(forms);
    {
        std::ofstream out(forms / "form04827.frm");
        out << R"({ "page": { "width_mm": 210, "height_mm": 297 }, "fields": [)";
        for (int no = 1; no <= 109; ++no)
            out << (no > 1 ? "," : "") << R"({ "no": )" << no << R"(, "x_mm": )" << 10 + (no % 2) * 100
                << R"(, "y_mm": )" << 10 + (no / 2) * 5 << R"(, "w_mm": 95, "h_mm": 4.5, "pt": 8 })";
        out << "] }";
    }
    SetFormsFolder(forms);
    SetFormOutputFolder(BenchRoot() / "pdf");
    for (auto _ : state) {
        SvyForm form(32, 0x1110000, 0);
        if (form.CreateDoc(4827, "form04827.frm", "bench", "") == -1) {
            state.SkipWithError("no template");
            break;
        }
        for (int no = 1; no <= 109; ++no)
            form.PutField(no, "基線ベクトルの環閉合差が\r\n水平20mm√N以内 " + std::to_string(no), 0);
        if (!form.CloseDoc())
            state.SkipWithError("no PDF");
    }
}
BENCHMARK(BM_OneFormPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    BenchRoot();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(BenchRoot(), ec);
    return 0;
}

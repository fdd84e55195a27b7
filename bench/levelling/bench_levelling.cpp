// Speed of the levelling table: the evaluation of a large survey through the host's
// part system (what DoCalc 0x02 runs) and adding the part search's 4,096 parts to a
// part list of the dialog.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "bench/PluginBenchSupport.h"
#include "hostfw/CVApp.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/Tab00963Data.h"
#include "plugins/levelling/CVSheetPartListX.h"
#include "plugins/levelling/Cal.h"
#include "plugins/levelling/Mod00963.h"

namespace {

using benchsupport::Row;

// A grade-2 survey with one network adjustment, `notes` observation notes and `routes`
// check routes (every tenth a loop), all of one levelling network.
struct Survey {
    std::filesystem::path file;
    PartData table;
    std::vector<DWORD> routes;
};

Survey BuildSurvey(int notes, int routes, bool listRoutes)
{
    Survey s;
    std::string error;
    std::unique_ptr<PartSystem> system = benchsupport::OpenBenchPartSystem("bench-levelling", std::to_string(notes), s.file, error);
    const auto store = [&](PartData& part) { system->StorePart(part, error); };
    DWORD next = 10;
    PartData network(938, next++);
    network.PutRecord("F", 0, Row({std::int64_t{2}, std::int64_t{1}}));
    store(network);
    system->PutAnswers(network.GetAddress(), "SISDO_NET", {Row({1.234})}, error);
    PartData levellingNetwork(917, next++);
    levellingNetwork.PutRecord("F", 0, Row({std::int64_t{2}, std::int64_t{1}}));
    store(levellingNetwork);

    PartData table(963, 1);
    table.PutRecord("F1", 0, Row({"", "", "", "", std::int64_t{9}, "", "", "", std::int64_t{2}, ""}));
    table.PutRecord("F03", 0, Row({std::int64_t{0}, "", "", "", "", std::int64_t{0}, "", "", std::int64_t{0}, "", "", "", ""}));
    table.PutRecord("FR1", 0, Row({std::int64_t{network.GetAddress()}}));
    for (int i = 0; i < notes; ++i) {
        PartData note(921, next++);
        note.PutRecord("F", 0, Row({std::int64_t{2}}));
        store(note);
        system->PutAnswers(note.GetAddress(), "SUISYUBO", {Row({std::int64_t{2}, 0.001 * (i % 97) - 0.04})}, error);
        table.PutRecord("R2", static_cast<std::size_t>(i), Row({std::int64_t{note.GetAddress()}}));
    }
    for (int i = 0; i < routes; ++i) {
        PartData route(935, next++);
        const std::int64_t start = 1000 + i;
        route.PutRecord("F", 0, Row({std::int64_t{levellingNetwork.GetAddress()}, start, i % 10 == 0 ? start : start + 1}));
        store(route);
        system->PutAnswers(route.GetAddress(), "SISDO_ROUTE", {Row({0.1 * (i % 151) - 7.0})}, error);
        if (listRoutes)
            table.PutRecord("R3", static_cast<std::size_t>(i), Row({std::int64_t{route.GetAddress()}}));
        s.routes.push_back(route.GetAddress());
    }
    store(table);
    system->Commit(error);
    s.table = table;
    benchsupport::MakeCurrent(std::move(system));
    return s;
}

// DoCalc 0x02 with n observation notes and n check routes.
void BM_DoCalcEvaluation(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Survey survey = BuildSurvey(n, n, true);
    CVApp& app = PeldaGetApp();
    app.EnableCmdMsgBox(false);
    mod00963::Mod00963 program(app.GetDocument());
    program.SetHostContext(app.GetDocument(), app.GetPartSysData(app.GetCurPartSysNo()));
    for (auto _ : state) {
        if (program.DoCalc(survey.table, 0x02, "") != 0)
            state.SkipWithError("the evaluation failed");
    }
    state.SetComplexityN(n);
    CVApp::Instance().Reset();
    std::filesystem::remove(survey.file);
}
BENCHMARK(BM_DoCalcEvaluation)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// The part search hands 4,096 check routes to the dialog's route list: each one is
// admitted through the sibling databases and stored in the list record.
void BM_AddPartsToList(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Survey survey = BuildSurvey(0, n, false);
    const char* source = std::getenv("TESSARA_SOURCE_DIR");
    PeldaGetApp().SetPluginDataDir(std::filesystem::path(source != nullptr ? source : ".") / "plugins/levelling/data");
    for (auto _ : state) {
        state.PauseTiming();
        Tab00963Data data(survey.table);
        mod00963::CVSheetPartListX list(mod00963::LevellingListKind::Routes);
        list.LoadTemplate("tab00963_9.vst");
        list.Init(nullptr, &data, 9);
        const DWORD column = list.Template().Cells().empty() ? 0 : list.Template().Cells()[0].code;
        state.ResumeTiming();
        list.AddParts(survey.routes, column);
        list.ReloadPartData();
        if (data.Get_R3Cnt() != n)
            state.SkipWithError("parts were refused");
    }
    state.SetComplexityN(n);
    CVApp::Instance().Reset();
    std::filesystem::remove(survey.file);
}
BENCHMARK(BM_AddPartsToList)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Speed of the control-point table: the evaluation of a large survey through the host's
// part system (what DoCalc 0x02 runs), pairing check-calculation rows and importing
// document boards.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "bench/PluginBenchSupport.h"
#include "hostfw/CVApp.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PeldaSysData.h"
#include "hostfw/gnss/KjnXyda_Nt.h"
#include "plugins/ctrlpoint/BoardImport.h"
#include "plugins/ctrlpoint/Cal.h"
#include "plugins/ctrlpoint/CheckCalcPairing.h"
#include "plugins/ctrlpoint/HostControlPointSiblings.h"
#include "plugins/ctrlpoint/PartAdmission.h"

namespace {

using mod00519::PartAddress;

using benchsupport::Row;

// A survey scaled by `scale` (1.0: 10,000 points in each of 628 and 631, half shared,
// 200 handbooks of 20 averaged observations, 2,000 check-calculation rows).
struct Survey {
    std::filesystem::path file;
    PartData table;
    std::vector<DWORD> routes;   // 687 and 684 parts
};

Survey BuildSurvey(double scale)
{
    Survey s;
    std::string error;
    std::unique_ptr<PartSystem> system = benchsupport::OpenBenchPartSystem("bench-ctrlpoint", std::to_string(scale), s.file, error);
    const int points = static_cast<int>(10000 * scale);
    const int handbooks = static_cast<int>(200 * scale);
    const int rows = static_cast<int>(2000 * scale);
    DWORD next = 10;
    const auto store = [&](PartData& part) { system->StorePart(part, error); };

    const DWORD strict[2] = {next++, next++};
    for (int n = 0; n < 2; ++n) {
        PartData part(static_cast<WORD>(n == 0 ? 628 : 631), strict[n]);
        part.PutRecord("F", 0, Row({std::int64_t{2}}));
        std::vector<PartRecord> answers;
        for (int i = 0; i < points; ++i) {
            const std::int64_t point = n == 0 ? i : i + points / 2;   // half shared
            part.PutRecord("R2", static_cast<std::size_t>(i), Row({point}));
            answers.push_back(Row({point, 0.001 * (i % 37), 0.001 * (i % 41)}));
        }
        store(part);
        system->PutAnswers(strict[n], "TENKEN", answers, error);
    }
    std::vector<DWORD> books;
    for (int h = 0; h < handbooks; ++h) {
        const std::int64_t station = 100000 + h;
        PartData book(681, next++);
        book.PutRecord("KS", 0, Row({station, 1.5}));
        PartData field(452, next++);
        field.PutRecord("KS", 0, Row({station}));
        std::vector<PartRecord> averages;
        for (int k = 0; k < 20; ++k) {
            const std::int64_t target = station * 100 + k + 1;
            book.PutRecord("1R", static_cast<std::size_t>(k), Row({target, 0.1 * k, 90.0, 100.0 + k, 1.6}));
            book.PutRecord("1L", static_cast<std::size_t>(k), Row({target, 180.0 + 0.1 * k, 270.0, 100.0 + k, 1.6}));
            averages.push_back(Row({target, 100.0036 + k, 0.1 * k, 0.0}));
            field.PutRecord("KEISOKU", static_cast<std::size_t>(k), Row({target, 100.0 + k, 0.1 * k, 90.0, std::int64_t{0}}));
        }
        store(book);
        store(field);
        system->PutAnswers(book.GetAddress(), "SHUBO", averages, error);
        books.push_back(book.GetAddress());
    }
    std::vector<std::pair<DWORD, DWORD>> checks;
    for (int r = 0; r < rows; ++r) {
        PartData horizontal(687, next++);
        horizontal.PutRecord("F", 0, Row({std::int64_t{2}, std::int64_t{r}}));
        PartData height(684, next++);
        height.PutRecord("F", 0, Row({std::int64_t{2}, std::int64_t{rows - 1 - r}}));
        store(horizontal);
        store(height);
        system->PutAnswers(horizontal.GetAddress(), "SEIDO_ROUTE", {Row({std::int64_t{1 + r % 2}, 0.001 * r, 0.0, 0.0})}, error);
        system->PutAnswers(height.GetAddress(), "SEIDO_ROUTE", {Row({std::int64_t{1 + r % 2}, 0.0, -0.001 * r, 0.0005})}, error);
        checks.emplace_back(horizontal.GetAddress(), height.GetAddress());
        s.routes.push_back(horizontal.GetAddress());
        s.routes.push_back(height.GetAddress());
    }
    PartData table(519, 1);
    table.PutRecord("F1", 0, Row({"", "", "", "", std::int64_t{9}, "", "", "", std::int64_t{2}, ""}));
    table.PutRecord("F2", 0, Row({std::int64_t{0}, std::int64_t{1}}));
    table.PutRecord("FR1", 0, Row({std::int64_t{strict[0]}, std::int64_t{strict[1]}}));
    for (std::size_t i = 0; i < books.size(); ++i)
        table.PutRecord("R3", i, Row({std::int64_t{books[i]}}));
    for (std::size_t i = 0; i < checks.size(); ++i)
        table.PutRecord("R4", i, Row({std::int64_t{checks[i].first}, std::int64_t{checks[i].second}}));
    store(table);
    system->Commit(error);
    s.table = table;
    benchsupport::MakeCurrent(std::move(system));
    return s;
}

// DoCalc 0x02: the context's constructor runs the evaluation.
void BM_DoCalcEvaluation(benchmark::State& state)
{
    const double scale = static_cast<double>(state.range(0)) / 100.0;
    Survey survey = BuildSurvey(scale);
    PeldaGetApp().EnableCmdMsgBox(false);
    for (auto _ : state) {
        mod00519::Cal cal(survey.table, 0);
        if (cal.ResultCode() != 0)
            state.SkipWithError(cal.StatusMessage().c_str());
        benchmark::DoNotOptimize(cal.Texts());
    }
    state.SetComplexityN(state.range(0));
    CVApp::Instance().Reset();
    std::filesystem::remove(survey.file);
}
BENCHMARK(BM_DoCalcEvaluation)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void BM_PairCheckCalcRows(benchmark::State& state)
{
    const auto n = static_cast<PartAddress>(state.range(0));
    const auto key = [](PartAddress a) -> std::optional<std::int64_t> { return a % 100000; };
    std::vector<mod00519::CheckCalcRow> scrambled;
    for (PartAddress i = 0; i < n; ++i)
        scrambled.push_back({100000 + i, 200000 + (i * 7919) % n});
    for (auto _ : state) {
        std::vector<mod00519::CheckCalcRow> rows = scrambled;
        mod00519::CheckCalcPairing::Pair(rows, key, key);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PairCheckCalcRows)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// Boards naming 4,096 route parts, each admitted through the sibling databases.
void BM_ImportBoards(benchmark::State& state)
{
    Survey survey = BuildSurvey(static_cast<double>(state.range(0)) / 4000.0);
    std::vector<mod00519::Board> boards;
    for (const DWORD part : survey.routes)
        boards.push_back({mod00519::BoardImport::kBoardPart, part});
    const PeldaSysData* system = PeldaGetApp().GetPartSysData(PeldaGetApp().GetCurPartSysNo());
    for (auto _ : state) {
        const KjnXyda_Nt coordinates;
        mod00519::HostControlPointSiblings siblings(system->GetHandle(), system, coordinates);
        mod00519::AdmissionFacts facts;
        facts.programOf = [&](PartAddress p) { return siblings.ProgramOf(p); };
        facts.gradeOf = [&](int program, PartAddress p) -> std::optional<short> {
            short grade = 0;
            if (!siblings.ReadPartGrade(program, p, grade))
                return std::nullopt;
            return grade;
        };
        facts.tableGrade = 2;
        const auto admit = [&](std::uint32_t p) {
            return mod00519::PartAdmission::Admit(mod00519::PartListKind::CheckCalc, p, facts);
        };
        std::vector<std::uint32_t> column;
        const auto added = mod00519::BoardImport::Collect(boards, {}, admit, admit);
        mod00519::BoardImport::Place(column, 0, added);
        if (column.size() != boards.size())
            state.SkipWithError("boards were lost");
    }
    CVApp::Instance().Reset();
    std::filesystem::remove(survey.file);
}
BENCHMARK(BM_ImportBoards)->Arg(4096)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// DoCalc with the calculate bit on a generated GNSS survey: 2,000 network points,
// first/second-half baselines and 500 sibling parts.
#include "plugins/gnss/Mod04827.h"

#include "hostfw/CPartDB.h"
#include "hostfw/CVApp.h"
#include "hostfw/CVPartDocument.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/Tab04827Data.h"

#include <benchmark/benchmark.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string Json(const QJsonObject& o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString();
}

QJsonArray Triple(double a, double b, double c)
{
    return QJsonArray{a, b, c};
}

// A control-point survey with `baselines` repeated first/second-half pairs.
PartSystem* BuildSurvey(int baselines)
{
    const std::filesystem::path root = std::filesystem::temp_directory_path() /
                                       ("bench-gnss-" + std::to_string(::getpid()) + "-" + std::to_string(baselines));
    std::filesystem::remove_all(root);
    setenv("PARTHOST_DATA_DIR", root.c_str(), 1);
    std::filesystem::create_directories(root);
    std::string error;
    auto system = PartSystem::Open(root / "parts.db", true, error);
    if (!system) return nullptr;
    system->Begin(error);
    const long work = 1;
    system->PutCondition("GnssWorkTable", 0,
                         Json({{"current", 1}, {"works", QJsonArray{QJsonObject{{"no", 1}, {"kind", 3}, {"condition", 1}}}}}),
                         error);
    system->PutCondition("JGpsSidVur", work, Json({{"horizontalCm", 10}, {"heightCm", 20}}), error);
    system->PutCondition("JGpsKanVur", work, Json({{"horizontal", Triple(20, 25, 0)}, {"height", Triple(30, 35, 0)}}), error);

    Tab04827Data survey;
    PartRecord f2;
    f2.SetLong(0, work);
    survey.PutRec("F2", f2);
    PartRecord f3;
    f3.SetShort(0, 0);
    survey.PutRec("F3", f3);
    CPartDB own(system.get(), 4827);
    own.Put(survey);

    // 500 sibling parts of the closure stores, each with a few answers.
    for (int i = 0; i < 500; ++i) {
        const WORD program = i % 3 == 0 ? 4735 : i % 3 == 1 ? 4741 : 4744;
        PartData part(program, 0);
        PartRecord f;
        f.SetLong(0, work);
        part.PutRecord("F", 0, f);
        CPartDB db(system.get(), program);
        db.Put(part);
        std::vector<PartRecord> rows(4);
        for (int r = 0; r < 4; ++r) {
            rows[r].SetDouble(0, 0.001 * (r + i % 7));
            rows[r].SetDouble(1, -0.002 * r);
            rows[r].SetDouble(2, 0.0005 * (i % 11));
        }
        system->PutAnswers(part.GetAddress(), "ans", rows, error);
    }

    QJsonArray points;
    for (int p = 0; p < 2000; ++p) {
        points.append(QJsonObject{{"name", "P" + QString::number(p)}, {"kind", p < 4 ? 1 : p % 4},
                                  {"sN", 0.001 * (p % 13)}, {"sE", 0.001 * (p % 7)}, {"sU", 0.002 * (p % 5)}});
    }
    QJsonArray network;
    QJsonArray records;
    for (int b = 0; b < baselines; ++b) {
        const QString from = "P" + QString::number(b % 2000);
        const QString to = "P" + QString::number((b * 7 + 1) % 2000);
        const QJsonArray position = Triple(-3959340.0 + b, 3352854.0, 3697471.0);
        records.append(QJsonObject{{"class", 1}, {"half", 0}, {"types", Triple(1, 1, 0)}, {"from", from}, {"to", to},
                                   {"vector", Triple(100.0 + b, 20.0, 30.0)}, {"position", position}});
        records.append(QJsonObject{{"class", 1}, {"half", 1}, {"types", Triple(1, 1, 0)}, {"from", to}, {"to", from},
                                   {"vector", Triple(-100.001 - b, -20.0, -30.002)}, {"position", position}});
        if (b < 6000) {
            network.append(QJsonObject{{"from", from}, {"to", to}, {"components", Triple(100.0 + b, 20.0, 30.0)},
                                       {"corrections", Triple(0.001, 0.0, -0.001)}, {"distance", 105.0 + b}});
        }
    }
    system->PutCondition("GnssNetwork0", work, Json({{"points", points}, {"baselines", network}}), error);
    system->PutCondition("GnssRecords", work, Json({{"baselines", records}}), error);
    system->Commit(error);

    PartSystem* raw = system.get();
    CVApp::Instance().Reset();
    CVApp::Instance().EnableCmdMsgBox(false);
    CVApp::Instance().AddPartSystem(std::move(system), "bench");
    return raw;
}

void BM_DoCalcCalculate(benchmark::State& state)
{
    PartSystem* system = BuildSurvey(static_cast<int>(state.range(0)));
    if (!system) {
        state.SkipWithError("survey not built");
        return;
    }
    Tab04827Data data;
    CPartDB(system, 4827).Get(1, &data, 0);
    CVPartDocument document;
    mod04827::Mod04827 program(&document);
    program.SetHostContext(&document, PeldaGetApp().GetPartSysData(PeldaGetApp().GetCurPartSysNo()));
    for (auto _ : state) {
        const WORD result = program.DoCalc(data, 0x02, nullptr);
        if (result != 0) state.SkipWithError("DoCalc failed");
        benchmark::DoNotOptimize(result);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DoCalcCalculate)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

BENCHMARK_MAIN();

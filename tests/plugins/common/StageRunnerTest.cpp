#include "HostTestSupport.h"

#include "hostfw/CVApp.h"
#include "hostfw/CVPartDocument.h"
#include "hostfw/FormServices.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PeldaSysData.h"
#include "hostfw/SvyForm.h"
#include "plugins/common/CalcContext.h"
#include "plugins/common/PartProgram.h"
#include "plugins/common/PluginTable.h"

#include <stdexcept>

namespace {

const plugcommon::PluginTable kTable{4827, "MOD04827.DLL", "品質評価表-メインヘルプ", "品質評価表", 33, 32,
                                     "品質評価表", "基準点品質評価表", "GPSHYOCMB", "\\GPSHYOCSV.INI",
                                     {"a", "b", "c", "1", "e", "f", "g"}, "x(", "GPSHYO.CSV", "done"};

struct Trace {
    int contexts = 0;
    short lastNoCalc = -1;
    std::string stages;
};

class FakeCal : public plugcommon::CalcContext {
public:
    FakeCal(short code) : m_code(code) {}
    short ResultCode() const override { return m_code; }

private:
    short m_code;
};

class FakeProgram : public plugcommon::PartProgram {
public:
    FakeProgram(CVPartDocument* document, Trace& trace, short code, char failing)
        : PartProgram(document, kTable), m_trace(trace), m_code(code), m_failing(failing)
    {
    }
    bool throwInMake = false;

protected:
    std::unique_ptr<plugcommon::CalcContext> MakeCal(const PartData&, short noCalc) override
    {
        if (throwInMake)
            throw std::runtime_error("broken record");
        ++m_trace.contexts;
        m_trace.lastNoCalc = noCalc;
        return std::make_unique<FakeCal>(noCalc ? 0 : m_code);
    }
    void FillForm(SvyForm& form, plugcommon::CalcContext&) override { form.PutField(1, "帳票の本文", 0); }
    int _CalcChek(plugcommon::CalcContext* cal) override { return Stage('C', cal); }
    int _CalcDoCalc(plugcommon::CalcContext* cal) override
    {
        m_trace.stages += 'D';
        return m_failing == 'D' ? 0 : PartProgram::_CalcDoCalc(cal);
    }
    int _CalcMakeFig(plugcommon::CalcContext* cal, int) override { return Stage('F', cal); }
    int _CalcOutput(plugcommon::CalcContext* cal) override { return Stage('O', cal); }

private:
    int Stage(char name, plugcommon::CalcContext*)
    {
        m_trace.stages += name;
        return m_failing == name ? 0 : 1;
    }
    Trace& m_trace;
    short m_code;
    char m_failing;
};

struct StageCase {
    const char* name;
    DWORD flags;
    short evaluation;       // result code the evaluation ends with
    char failing;           // stage that fails, or 0
    bool hostPointers;
    WORD result;
    const char* stages;
    int contexts;
};

class StageRunnerTest : public HostTest, public ::testing::WithParamInterface<StageCase> {};

TEST_P(StageRunnerTest, RunsTheStagesOfTheFlags)
{
    const StageCase c = GetParam();
    Trace trace;
    CVPartDocument document;
    PeldaSysData data(1, "s", nullptr);
    FakeProgram program(&document, trace, c.evaluation, c.failing);
    if (c.hostPointers)
        program.SetHostContext(&document, &data);
    EXPECT_EQ(program.DoCalc(PartData(4827, 1), c.flags, nullptr), c.result);
    EXPECT_EQ(trace.stages, c.stages);
    EXPECT_EQ(trace.contexts, c.contexts);
    if (c.contexts) {
        EXPECT_EQ(trace.lastNoCalc, (c.flags & 0x02) ? 0 : 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StageRunnerTest,
    ::testing::Values(StageCase{"flags_0", 0x00, 0, 0, true, 0, "", 1},
                      StageCase{"calculate", 0x02, 0, 0, true, 0, "D", 1},
                      StageCase{"failed_evaluation_answers_4", 0x02, 1, 0, true, 4, "D", 1},
                      StageCase{"all_stages", 0x0F, 0, 0, true, 0, "CDFO", 1},
                      StageCase{"figure_fails_output_skipped", 0x0F, 0, 'F', true, 4, "CDF", 1},
                      StageCase{"check_fails_first", 0x0F, 0, 'C', true, 4, "C", 1},
                      StageCase{"no_host_pointers", 0x03, 0, 0, false, 0x8000, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A program with both host context pointers set.
class FormPathTest : public HostTest {
protected:
    FakeProgram& Program(short evaluation = 0)
    {
        m_program = std::make_unique<FakeProgram>(&m_document, m_trace, evaluation, 0);
        m_program->SetHostContext(&m_document, &m_data);
        return *m_program;
    }
    Trace m_trace;
    CVPartDocument m_document;
    PeldaSysData m_data{1, "s", nullptr};
    std::unique_ptr<FakeProgram> m_program;
};

TEST_F(FormPathTest, CancelledChooserAnswers4AndBuildsNothing)
{
    FakeProgram& program = Program();
    SetFormSelectHook([](WORD) { return 0; });
    EXPECT_EQ(program.DoCalc(PartData(4827, 1), 0x12, nullptr), 4);
    EXPECT_EQ(m_trace.contexts, 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(FormPathTest, NoDocumentMadeAnswers4WithAMessage)
{
    FakeProgram& program = Program();
    WriteFile("forms/form04827.frm", "{ broken");
    SetFormsFolder(Root() / "forms");
    EXPECT_EQ(program.DoCalc(PartData(4827, 1), 0x12, nullptr), 4);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("帳票ファイルを開けません。"), std::string::npos) << Messages()[0];

    std::filesystem::remove(Root() / "forms/form04827.frm");
    EXPECT_EQ(program.DoCalc(PartData(4827, 1), 0x12, nullptr), 4);
    EXPECT_NE(Messages().back().find("帳票ファイルがありません。"), std::string::npos);
}

TEST_F(FormPathTest, FailedEvaluationWritesNoForm)
{
    FakeProgram& program = Program(5);
    WriteFile("forms/form04827.frm", R"({ "fields": [ { "no": 1, "x_mm": 1, "y_mm": 1, "w_mm": 50, "h_mm": 9 } ] })");
    SetFormsFolder(Root() / "forms");
    SetFormOutputFolder(Root() / "out");
    EXPECT_EQ(program.DoCalc(PartData(4827, 1), 0x12, nullptr), 4);
    EXPECT_FALSE(std::filesystem::exists(Root() / "out"));
}

TEST_F(FormPathTest, WritesOneDocumentPerFormFile)
{
    FakeProgram& program = Program();
    const char* form = R"({ "fields": [ { "no": 1, "x_mm": 1, "y_mm": 1, "w_mm": 50, "h_mm": 9 } ] })";
    WriteFile("forms/form04827.frm", form);
    WriteFile("forms/form04827_2.frm", form);
    WriteFile("forms/form00519.frm", form);
    SetFormsFolder(Root() / "forms");
    SetFormOutputFolder(Root() / "out");
    EXPECT_EQ(program.DoCalc(PartData(4827, 1), 0x12, nullptr), 0);
    EXPECT_TRUE(std::filesystem::exists(Root() / "out" / "form04827.pdf"));
    EXPECT_TRUE(std::filesystem::exists(Root() / "out" / "form04827_2.pdf"));
    EXPECT_FALSE(std::filesystem::exists(Root() / "out" / "form00519.pdf"));
}

TEST_F(FormPathTest, AnExceptionInsideDoCalcAnswers4WithAMessage)
{
    FakeProgram& program = Program();
    program.throwInMake = true;
    EXPECT_EQ(program.DoCalc(PartData(4827, 1), 0x02, nullptr), 4);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("broken record"), std::string::npos);
}

} // namespace

#pragma once

#include "hostfw/CVSvyPartPrg.h"
#include "hostfw/HostTypes.h"

#include <memory>
#include <string>

class PartData;
class SvyForm;

namespace plugcommon {

class CalcContext;
struct PluginTable;

// The part-program class of a quality-table plug-in: the stage runner behind DoCalc and
// the form path, the same in all three. A plug-in derives from it and supplies its
// context (MakeCal), its form filler and, where it has one, its figure stage.
// No exception leaves DoCalc: a failure answers 4 (a message is shown).
class PartProgram : public CVSvyPartPrg {
public:
    PartProgram(CVPartDocument* document, const PluginTable& table);
    ~PartProgram() override;

    WORD DoCalc(const PartData& data, DWORD flags, const char* text) override;
    WORD DoCreate(const PartData& data, PART_CAD_CREATEDATA& create) override;

    // Runs the stages selected by flags (check, calculate, figure, output), each only
    // while the previous ones succeeded: 0 done, 4 when a stage failed.
    WORD DoCalcSub(CalcContext* cal, DWORD flags);

    const PluginTable& Table() const { return m_table; }

protected:
    // The plug-in's context; building it runs the evaluation and reports unless noCalc.
    virtual std::unique_ptr<CalcContext> MakeCal(const PartData& data, short noCalc) = 0;
    // Fills one open form document from the context.
    virtual void FillForm(SvyForm& form, CalcContext& cal) = 0;

    virtual int _CalcChek(CalcContext* cal);
    // 1 when the evaluation succeeded (or did not run), 0 after a failed one.
    virtual int _CalcDoCalc(CalcContext* cal);
    virtual int _CalcMakeFig(CalcContext* cal, int formMode);
    virtual int _CalcOutput(CalcContext* cal);

    // The form path: chooser, context, stages, one document per form file. Answers 0
    // when cancelled or the evaluation failed; 1 when at least one document was made.
    int _CreateFormFunc(const PartData& data, std::unique_ptr<CalcContext>& cal, DWORD flags,
                        WORD* result, WORD noCalc);

private:
    WORD DoCalcGuarded(const PartData& data, DWORD flags);

    const PluginTable& m_table;
};

} // namespace plugcommon

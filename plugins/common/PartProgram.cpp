#include "plugins/common/PartProgram.h"

#include "hostfw/FormServices.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartData.h"
#include "hostfw/SvyForm.h"
#include "plugins/common/CalcContext.h"
#include "plugins/common/PluginTable.h"

#include <exception>

namespace plugcommon {

namespace {

constexpr DWORD kFormKind = 0x1110000;

} // namespace

PartProgram::PartProgram(CVPartDocument* document, const PluginTable& table)
    : CVSvyPartPrg(document), m_table(table)
{
}

PartProgram::~PartProgram() = default;

WORD PartProgram::DoCalc(const PartData& data, DWORD flags, const char*)
{
    // Nothing may leave this entry: the host calls it through a plain virtual table.
    try {
        return DoCalcGuarded(data, flags);
    } catch (const std::exception& e) {
        HostMessageBox(std::string("計算中にエラーが発生しました。\n") + e.what(), m_table.caption,
                       kMbOk | kMbIconHand);
    } catch (...) {
        HostMessageBox("計算中に予期しないエラーが発生しました。", m_table.caption, kMbOk | kMbIconHand);
    }
    return kPartResultFailed;
}

WORD PartProgram::DoCalcGuarded(const PartData& data, DWORD flags)
{
    if (!GetHostDocument() || !GetHostData())
        return kPartResultNotAvailable;
    const WORD noCalc = (flags & kDoCalcCalculate) ? 0 : 1;
    std::unique_ptr<CalcContext> cal;
    if (flags & kDoCalcForm) {
        FormGlobalStartNotCmp();
        WORD result = kPartResultDone;
        const int made = _CreateFormFunc(data, cal, flags, &result, noCalc);
        FormGlobalEndNotCmp();
        return made ? result : kPartResultFailed;
    }
    cal = MakeCal(data, static_cast<short>(noCalc));
    if (!cal)
        return kPartResultFailed;
    cal->SetHostContext(GetHostDocument(), GetHostData());
    return DoCalcSub(cal.get(), flags);
}

WORD PartProgram::DoCreate(const PartData&, PART_CAD_CREATEDATA&)
{
    return kPartResultNotAvailable;
}

WORD PartProgram::DoCalcSub(CalcContext* cal, DWORD flags)
{
    WORD result = kPartResultDone;
    if (result == kPartResultDone && (flags & kDoCalcCheck) && !_CalcChek(cal))
        result = kPartResultFailed;
    if (result == kPartResultDone && (flags & kDoCalcCalculate) && !_CalcDoCalc(cal))
        result = kPartResultFailed;
    if (result == kPartResultDone && (flags & kDoCalcMakeFigure) &&
        !_CalcMakeFig(cal, static_cast<int>(flags & kDoCalcForm)))
        result = kPartResultFailed;
    if (result == kPartResultDone && (flags & kDoCalcOutput) && !_CalcOutput(cal))
        result = kPartResultFailed;
    return result;
}

int PartProgram::_CalcChek(CalcContext*)
{
    return 1;
}

int PartProgram::_CalcDoCalc(CalcContext* cal)
{
    // The evaluation ran while the context was built; its failure fails this stage.
    return cal && cal->ResultCode() == 0 ? 1 : 0;
}

int PartProgram::_CalcMakeFig(CalcContext*, int)
{
    return 1;
}

int PartProgram::_CalcOutput(CalcContext*)
{
    return 1;
}

int PartProgram::_CreateFormFunc(const PartData& data, std::unique_ptr<CalcContext>& cal, DWORD flags,
                                 WORD* result, WORD noCalc)
{
    const WORD program = m_table.programNo;
    if (FormSelectDlg(program, 1) == 0)
        return 0;
    cal = MakeCal(data, static_cast<short>(noCalc));
    if (!cal || cal->ResultCode() != 0)
        return 0;
    cal->SetHostContext(GetHostDocument(), GetHostData());
    *result = DoCalcSub(cal.get(), flags);

    const int count = GetFormCnt(program, 0);
    SvyForm form(m_table.formFlags, kFormKind, 0);
    int made = 0;
    for (int i = 0; i < count; ++i) {
        std::string name;
        if (!GetFormFileName(program, i, name, 0))
            continue;
        if (form.CreateDoc(program, name, data.GetTitle1(), data.GetTitle2()) == -1) {
            HostMessageBox("帳票ファイルを開けません。\n" + form.LastError(), m_table.caption,
                           kMbOk | kMbIconHand);
            continue;
        }
        FillForm(form, *cal);
        if (form.CloseDoc())
            ++made;
        else
            HostMessageBox("帳票を出力できません。\n" + form.LastError(), m_table.caption, kMbOk | kMbIconHand);
    }
    if (made == 0) {
        if (count == 0)
            HostMessageBox("帳票ファイルがありません。", m_table.caption, kMbOk | kMbIconHand);
        return 0;
    }
    return 1;
}

} // namespace plugcommon

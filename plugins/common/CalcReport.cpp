#include "plugins/common/CalcReport.h"

#include "hostfw/CPartDB.h"
#include "hostfw/CVApp.h"
#include "hostfw/CmdMsgBox.h"
#include "hostfw/PartData.h"

namespace plugcommon {

void ReportCalcOutcome(const PartData& data, TitleOrder order, bool ok, const std::string& errorMessage,
                       PartSystem* handle)
{
    CmdMsgBox* box = PeldaGetApp().GetCmdMsgBox();
    if (box == nullptr)
        return;
    std::string program;
    PartDB_GetPrgName(handle != nullptr ? handle : GetCurrentPartSystem(), data.GetPrgNo(), program);
    const std::string report = data.GetReportNoName(3);
    const std::string title = order == TitleOrder::ReportFirst ? report + " " + program : program + " " + report;
    const DWORD key = data.GetPartKey();
    box->XCmdNameMessage(key, title, 1);
    if (ok)
        box->XCmdStdMessage(key, "処理が正常に行われました。", 0);
    else
        box->XCmdErrMessageBox(key, errorMessage, 0);
}

} // namespace plugcommon

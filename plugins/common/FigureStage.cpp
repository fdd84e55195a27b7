#include "plugins/common/FigureStage.h"

#include "hostfw/PeldaSysData.h"
#include "hostfw/ctrlpoint/CSvyZaDB.h"
#include "hostfw/ctrlpoint/SvyPartZu.h"

namespace plugcommon {

int FigureStage::Run(CVPartDocument* document, PeldaSysData* hostData, DWORD partAddress, bool formMode)
{
    if (document == nullptr)
        return 0;
    SvyPartZu writer(document, static_cast<WORD>(formMode ? 1 : 0), 0, 0.0, 0.0, nullptr, nullptr, std::string());
    writer.PartStart(partAddress);
    CSvyZaDB figures(hostData != nullptr ? hostData->GetHandle() : nullptr);
    writer.PartEnd(1);
    return 1;
}

} // namespace plugcommon

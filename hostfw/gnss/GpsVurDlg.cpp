#include "hostfw/gnss/GpsVurDlg.h"

#include "hostfw/CVApp.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartSystem.h"

#include <string>

int GpsVurDlg(long workKey, std::uint64_t /*pageMask*/, WORD /*conditionNo*/, QWidget* /*parent*/, int /*option*/)
{
    const PartSystem* handle = GetCurrentPartSystem();
    if (!handle) return -1;
    std::string text = "作業 " + std::to_string(workKey) + " の条件\n";
    bool any = false;
    for (const char* name : {"JGpsSidVur", "JGpsKanVur", "JGpsDupVur", "JGpsEktVur", "JGpsSuiVur", "JGpsHyoVur"}) {
        if (const auto json = handle->Condition(name, workKey)) {
            text += std::string(name) + ": " + *json + "\n";
            any = true;
        }
    }
    if (!any) return -1;
    return HostMessageBox(text, "GNSS条件", kMbOk | kMbIconInformation) == kIdOk ? 1 : 0;
}

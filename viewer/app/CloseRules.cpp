#include "viewer/app/CloseRules.h"

CloseRules::Decision CloseRules::Decide(bool hasView, bool saving, bool otherLongWork)
{
    if (!hasView) return Decision::CloseNow;
    if (saving) return Decision::RefuseSaving;
    if (otherLongWork) return Decision::RefuseBusy;
    return Decision::Ask;
}

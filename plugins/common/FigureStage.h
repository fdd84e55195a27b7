#pragma once

#include "hostfw/HostTypes.h"
#include "plugins/common/CalcContext.h"

class CVPartDocument;
class PeldaSysData;

namespace plugcommon {

// The figure stage of the control-point and levelling tables: writes the part's
// figure part into the host document (the host library writes what the part holds;
// the plug-ins add no elements).
class FigureStage {
public:
    // 0 when there is no host document; else records the figure part of the part at
    // partAddress and answers 1.
    static int Run(CVPartDocument* document, PeldaSysData* hostData, DWORD partAddress, bool formMode);

    // The stage of a plug-in's calculation context: Cal holds the part's table as
    // Data(). 0 without a context.
    template <class Cal>
    static int RunFor(CalcContext* cal, int formMode)
    {
        if (cal == nullptr)
            return 0;
        const Cal& context = static_cast<const Cal&>(*cal);
        return Run(cal->HostDocument(), cal->HostData(), context.Data().GetAddress(), formMode != 0);
    }
};

} // namespace plugcommon

#pragma once

#include "hostfw/HostTypes.h"

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
};

} // namespace plugcommon

#pragma once

#include "hostfw/HostTypes.h"

#include <string>

class CVPartDocument;
struct PT;
class MTRX;

// The host's figure-part writer: everything written between PartStart and PartEnd forms
// the figure part of one calculation part. This stand-in records the figure part in
// the figure database of the current part system (one per part: writing it again
// replaces it).
class HOSTFW_API SvyPartZu {
public:
    SvyPartZu(CVPartDocument* document, WORD flag, int option, double x, double y, const PT* origin,
              const MTRX* matrix, const std::string& name);

    int PartStart(DWORD partKey);
    // Non-zero when the figure part was recorded (commit non-zero) or dropped.
    int PartEnd(int commit);

private:
    CVPartDocument* m_document;
    WORD m_flag;
    std::string m_name;
    DWORD m_partKey = 0;
    bool m_started = false;
};

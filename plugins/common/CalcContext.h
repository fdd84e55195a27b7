#pragma once

#include "hostfw/HostTypes.h"

class CVPartDocument;
class PeldaSysData;

namespace plugcommon {

// Base of each plug-in's calculation context (its Cal): lives for one DoCalc or form
// call, carries the host context pointers and the evaluation's result code.
class CalcContext {
public:
    CalcContext() = default;
    virtual ~CalcContext();
    CalcContext(const CalcContext&) = delete;
    CalcContext& operator=(const CalcContext&) = delete;

    // 0 when the evaluation succeeded or did not run.
    virtual short ResultCode() const = 0;

    void SetHostContext(CVPartDocument* document, PeldaSysData* data);
    CVPartDocument* HostDocument() const { return m_document; }
    PeldaSysData* HostData() const { return m_data; }

private:
    CVPartDocument* m_document = nullptr;
    PeldaSysData* m_data = nullptr;
};

} // namespace plugcommon

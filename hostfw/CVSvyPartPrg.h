#pragma once

#include "hostfw/CVPartPrg.h"
#include "hostfw/HostTypes.h"

class PeldaSysData;

// Base of the survey part programs. It holds the two host context pointers (the host
// document and the host's part-system data) that the host sets after construction; a
// program refuses to calculate (0x8000) while either is null.
class HOSTFW_API CVSvyPartPrg : public CVPartPrg {
public:
    explicit CVSvyPartPrg(CVPartDocument* document);
    ~CVSvyPartPrg() override;

    void SetHostContext(CVPartDocument* hostDocument, PeldaSysData* hostData);
    CVPartDocument* GetHostDocument() const { return m_hostDocument; }
    PeldaSysData* GetHostData() const { return m_hostData; }

    virtual int InputList(const PartData& data);

private:
    CVPartDocument* m_hostDocument = nullptr;
    PeldaSysData* m_hostData = nullptr;
};

// The four exports of a part-program library, as the host looks them up (dlsym).
class VCmdData;
struct TPeldaHelpContext;
extern "C" {
using CreatePartPrgFn = CVSvyPartPrg* (*)(CVPartDocument*);
using WindowEditFn = int (*)(VCmdData*);
using PeldaHelpContextFn = TPeldaHelpContext* (*)(int, TPeldaHelpContext*);
using PeldaHelpNumFn = int (*)();
}
inline constexpr const char* kExportCreatePartPrg = "CREATEPARTPRG";
inline constexpr const char* kExportWindowEdit = "WINDOWEDIT";
inline constexpr const char* kExportHelpContext = "___PELDAHELP_CONTEXT";
inline constexpr const char* kExportHelpNum = "___PELDAHELP_NUM";

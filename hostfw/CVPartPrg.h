#pragma once

#include "hostfw/HostTypes.h"

class CVPartDocument;
class PartData;

// Figure-creation data of DoCreate (not offered by the quality-table programs).
struct HOSTFW_API PART_CAD_CREATEDATA {
    DWORD flags = 0;
};

// Base of every part program. The host reaches a plug-in's class only through this
// virtual table: it calls PreCalc, DoCalc and EndCalc to calculate and deletes the
// object when done.
class HOSTFW_API CVPartPrg {
public:
    explicit CVPartPrg(CVPartDocument* document);
    virtual ~CVPartPrg();
    CVPartPrg(const CVPartPrg&) = delete;
    CVPartPrg& operator=(const CVPartPrg&) = delete;

    virtual WORD PreCalc(const PartData& data, DWORD flags);
    virtual WORD EndCalc(const PartData& data, DWORD flags);
    virtual WORD PreCreate(const PartData& data, PART_CAD_CREATEDATA& create);
    virtual WORD EndCreate(const PartData& data, PART_CAD_CREATEDATA& create);
    virtual WORD DoCalc(const PartData& data, DWORD flags, const char* text) = 0;
    virtual WORD DoCreate(const PartData& data, PART_CAD_CREATEDATA& create) = 0;

    CVPartDocument* GetDocument() const { return m_document; }

private:
    CVPartDocument* m_document;
};

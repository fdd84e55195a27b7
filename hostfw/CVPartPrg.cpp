#include "hostfw/CVPartPrg.h"

CVPartPrg::CVPartPrg(CVPartDocument* document) : m_document(document) {}

CVPartPrg::~CVPartPrg() = default;

WORD CVPartPrg::PreCalc(const PartData&, DWORD)
{
    return kPartResultDone;
}

WORD CVPartPrg::EndCalc(const PartData&, DWORD)
{
    return kPartResultDone;
}

WORD CVPartPrg::PreCreate(const PartData&, PART_CAD_CREATEDATA&)
{
    return kPartResultDone;
}

WORD CVPartPrg::EndCreate(const PartData&, PART_CAD_CREATEDATA&)
{
    return kPartResultDone;
}

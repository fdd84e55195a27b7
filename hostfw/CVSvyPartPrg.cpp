#include "hostfw/CVSvyPartPrg.h"

CVSvyPartPrg::CVSvyPartPrg(CVPartDocument* document) : CVPartPrg(document) {}

CVSvyPartPrg::~CVSvyPartPrg() = default;

void CVSvyPartPrg::SetHostContext(CVPartDocument* hostDocument, PeldaSysData* hostData)
{
    m_hostDocument = hostDocument;
    m_hostData = hostData;
}

int CVSvyPartPrg::InputList(const PartData&)
{
    return 0;
}

#include "plugins/common/CalcContext.h"

namespace plugcommon {

CalcContext::~CalcContext() = default;

void CalcContext::SetHostContext(CVPartDocument* document, PeldaSysData* data)
{
    m_document = document;
    m_data = data;
}

} // namespace plugcommon

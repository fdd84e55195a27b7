#include "plugins/ctrlpoint/Cal.h"

#include "hostfw/Tab00519Data.h"
#include "hostfw/gnss/KjnXyda_Nt.h"
#include "plugins/common/CalcReport.h"
#include "plugins/ctrlpoint/ControlPointEvaluation.h"
#include "plugins/ctrlpoint/ControlPointStatus.h"
#include "plugins/ctrlpoint/HostControlPointSiblings.h"

namespace mod00519 {

Cal::Cal(const PartData& data, short noCalc)
    : TableCalcContext(data, noCalc)
{
    if (m_noCalc != 0)
        return;
    RunEvaluation();
    Report();
}

Cal::~Cal() = default;

bool Cal::RunEvaluation()
{
    m_itemIndex = -1;
    m_itemKind.clear();
    const ControlPointEvaluation evaluation = EvaluateOnCurrentSystem(*m_data, *m_coordinates);
    m_status = evaluation.status;
    m_itemIndex = evaluation.itemIndex;
    m_itemKind = evaluation.itemKind;
    if (m_status == kStatusOk)
        m_texts = evaluation.texts;
    return m_status == kStatusOk;
}

std::string Cal::StatusMessage() const
{
    return EvaluationStatusMessage(m_status, m_itemIndex, m_itemKind);
}

void Cal::Report() const
{
    plugcommon::ReportCalcOutcome(*m_data, plugcommon::TitleOrder::ProgramFirst, m_status == kStatusOk,
                                  StatusMessage());
}

} // namespace mod00519

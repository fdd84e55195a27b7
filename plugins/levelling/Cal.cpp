#include "plugins/levelling/Cal.h"

#include "hostfw/Tab00963Data.h"
#include "hostfw/gnss/KjnXyda_Nt.h"
#include "plugins/common/CalcReport.h"
#include "plugins/levelling/LevellingEvaluation.h"
#include "plugins/levelling/LevellingStatus.h"

namespace mod00963 {

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
    const LevellingEvaluation evaluation(*m_data);
    m_status = evaluation.Status();
    if (m_status == kStatusOk)
        m_texts = evaluation.Texts();
    return m_status == kStatusOk;
}

std::string Cal::StatusMessage() const
{
    return EvaluationStatusMessage(m_status);
}

// The levelling title puts the report name first.
void Cal::Report() const
{
    plugcommon::ReportCalcOutcome(*m_data, plugcommon::TitleOrder::ReportFirst, m_status == kStatusOk,
                                  StatusMessage());
}

} // namespace mod00963

#include "plugins/gnss/Cal.h"

#include "plugins/common/CalcReport.h"
#include "plugins/gnss/GnssEvaluation.h"
#include "plugins/gnss/GnssResultMessages.h"

#include "hostfw/CPartDB.h"
#include "hostfw/CVApp.h"
#include "hostfw/Tab04827Data.h"
#include "hostfw/gnss/KjnXyda_Nt.h"

namespace mod04827 {

Cal::Cal(const PartData& data, short noCalc, PartSystem* handle)
    : m_data(std::make_unique<Tab04827Data>(data)),
      m_coordinates(std::make_unique<KjnXyda_Nt>()),
      m_handle(handle ? handle : GetCurrentPartSystem()),
      m_noCalc(noCalc)
{
    if (noCalc != 0) return;
    m_workKindName.clear();
    m_surveyKindName.clear();
    RunEvaluation();
    Report(data);
}

Cal::~Cal() = default;

bool Cal::RunEvaluation()
{
    const GnssEvaluation evaluation(*m_data, m_handle);
    m_resultCode = evaluation.ResultCode();
    m_workKindName = evaluation.WorkKindName();
    m_surveyKindName = evaluation.SurveyKindName();
    m_texts = {};
    if (m_resultCode != kResultOk) return false;
    m_texts = evaluation.Texts();
    return true;
}

// The GNSS title puts the report name first.
void Cal::Report(const PartData& data) const
{
    plugcommon::ReportCalcOutcome(data, plugcommon::TitleOrder::ReportFirst, m_resultCode == kResultOk,
                                  ResultMessage(m_resultCode, m_workKindName, m_surveyKindName), m_handle);
}

}  // namespace mod04827

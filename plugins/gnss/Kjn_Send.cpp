#include "plugins/gnss/Kjn_Send.h"

#include "plugins/common/CsvCommand.h"
#include "plugins/gnss/GnssCsvContent.h"
#include "plugins/gnss/GnssEvaluation.h"
#include "plugins/gnss/GnssPluginTable.h"
#include "plugins/gnss/GnssResultMessages.h"
#include "plugins/gnss/GnssTableAccess.h"

#include "hostfw/CVApp.h"
#include "hostfw/Tab04827Data.h"

namespace mod04827 {

Kjn_Send::Kjn_Send(const PartData& data, PartSystem* handle)
    : plugcommon::Kjn_Send(GnssPluginTable()),
      m_data(std::make_unique<Tab04827Data>(data)),
      m_handle(handle ? handle : GetCurrentPartSystem())
{
}

Kjn_Send::~Kjn_Send() = default;

bool Kjn_Send::RunEvaluation()
{
    const GnssEvaluation evaluation(*m_data, m_handle);
    SetState(evaluation.ResultCode());
    m_workKindName = evaluation.WorkKindName();
    m_surveyKindName = evaluation.SurveyKindName();
    m_texts = {};
    if (evaluation.ResultCode() != kResultOk) return false;
    m_texts = evaluation.Texts();
    return true;
}

int Kjn_Send::WriteCsv(plugcommon::CsvWriter& out)
{
    GnssTableSet set;
    ReadTableSet(*m_data, VariantOfKind(ReadSurveyKind(*m_data)), set);
    const GnssCsvContent csv = BuildGnssCsvContent(set, m_texts);
    std::vector<plugcommon::QualityElement> elements;
    elements.reserve(csv.elements.size());
    for (const CsvElementValues& e : csv.elements)
        elements.push_back(e.values);
    return plugcommon::WriteQualityTable(*this, out, csv.title, csv.date, csv.levelDescription, elements);
}

std::string Kjn_Send::GetStateMessage() const
{
    if (GetState() == kStateCancelled) return plugcommon::Kjn_Send::GetStateMessage();
    if (GetState() == kResultOk) return {};
    return ResultMessage(GetState(), m_workKindName, m_surveyKindName);
}

int ExportEvaluationCsv(const PartData& data)
{
    Kjn_Send carrier(data);
    return plugcommon::RunCsvCommand(carrier) ? 1 : 0;
}

}  // namespace mod04827

#include "plugins/ctrlpoint/Kjn_Send.h"

#include "hostfw/Tab00519Data.h"
#include "hostfw/gnss/KjnXyda_Nt.h"
#include "plugins/common/CsvCommand.h"
#include "plugins/ctrlpoint/Mod00519Table.h"
#include "plugins/ctrlpoint/ControlPointCsv.h"
#include "plugins/ctrlpoint/ControlPointEvaluation.h"
#include "plugins/ctrlpoint/ControlPointStatus.h"
#include "plugins/ctrlpoint/HostControlPointSiblings.h"

namespace mod00519 {

Kjn_Send::Kjn_Send(const PartData& data)
    : TableCarrier(ControlPointPluginTable(), data)
{
}

Kjn_Send::~Kjn_Send() = default;

bool Kjn_Send::RunEvaluation()
{
    const ControlPointEvaluation evaluation = EvaluateOnCurrentSystem(*m_data, KjnXyda_Nt());
    SetState(evaluation.status);
    m_itemIndex = evaluation.itemIndex;
    m_itemKind = evaluation.itemKind;
    if (evaluation.status == kStatusOk)
        m_texts = evaluation.texts;
    return evaluation.status == kStatusOk;
}

int Kjn_Send::WriteCsv(plugcommon::CsvWriter& out)
{
    return plugcommon::WriteQualityTable(*this, out, ControlPointCsv::BuildHeader(*m_data),
                                         ControlPointCsv::BuildElements(*m_data, m_texts));
}

std::string Kjn_Send::GetStateMessage() const
{
    const short state = GetState();
    if (state == kStatusOk)
        return {};
    if (state == kStatusOutputCancelled)
        return kMessageOutputCancelled;
    return EvaluationStatusMessage(state, m_itemIndex, m_itemKind);
}

bool ExportControlPointCsv(const PartData& data)
{
    Kjn_Send carrier(data);
    return plugcommon::RunCsvCommand(carrier);
}

} // namespace mod00519

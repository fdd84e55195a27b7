#include "plugins/levelling/Kjn_Send.h"

#include "hostfw/Tab00963Data.h"
#include "plugins/common/CsvCommand.h"
#include "plugins/levelling/LevellingCsv.h"
#include "plugins/levelling/LevellingEvaluation.h"
#include "plugins/levelling/LevellingStatus.h"
#include "plugins/levelling/Mod00963Table.h"

namespace mod00963 {

Kjn_Send::Kjn_Send(const PartData& data)
    : TableCarrier(LevellingPluginTable(), data)
{
}

Kjn_Send::~Kjn_Send() = default;

bool Kjn_Send::RunEvaluation()
{
    const LevellingEvaluation evaluation(*m_data);
    SetState(evaluation.Status());
    if (evaluation.Status() == kStatusOk) {
        m_texts = evaluation.Texts();
        m_resultPieces = evaluation.ResultPieces();
    }
    return evaluation.Status() == kStatusOk;
}

int Kjn_Send::WriteCsv(plugcommon::CsvWriter& out)
{
    return plugcommon::WriteQualityTable(
        *this, out, LevellingCsv::BuildHeader(*m_data),
        LevellingCsv::BuildElements(*m_data, LevellingCsv::ResultOnOneLine(m_resultPieces)));
}

std::string Kjn_Send::GetStateMessage() const
{
    switch (GetState()) {
    case kStatusNoNetwork:
    case kStatusNoNote:
    case kStatusNoRoute:
    case kStatusDataFailure: return EvaluationStatusMessage(GetState());
    case kStatusOutputCancelled: return kMessageOutputCancelled;
    default: return {};
    }
}

bool ExportLevellingCsv(const PartData& data)
{
    Kjn_Send carrier(data);
    return plugcommon::RunCsvCommand(carrier);
}

} // namespace mod00963

#include "plugins/levelling/Kjn_Send.h"

#include <filesystem>

#include "hostfw/HostMessages.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/Tab00963Data.h"
#include "plugins/common/CsvWriter.h"
#include "plugins/common/PluginTable.h"
#include "plugins/levelling/LevellingCsv.h"
#include "plugins/levelling/LevellingEvaluation.h"
#include "plugins/levelling/LevellingStatus.h"
#include "plugins/levelling/Mod00963Table.h"

namespace mod00963 {

Kjn_Send::Kjn_Send(const PartData& data)
    : plugcommon::Kjn_Send(LevellingPluginTable()), m_data(std::make_unique<Tab00963Data>(data))
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

// A failed header line aborts the output like a failed element line: the file is
// discarded and the write error shown, never left half written.
int Kjn_Send::WriteCsv(plugcommon::CsvWriter& out)
{
    const LevellingCsv::Header header = LevellingCsv::BuildHeader(*m_data);
    if (!WriteHeader(out, header.title, header.date, header.levelDescription)) {
        if (out.IsOpen())
            out.Abort(plugcommon::CsvWriter::kWriteError);
        return 0;
    }
    int element = 1;
    for (const LevellingCsv::Element& values :
         LevellingCsv::BuildElements(*m_data, LevellingCsv::ResultOnOneLine(m_resultPieces))) {
        if (!WriteQualityElement(out, element++, values))
            return 0;
    }
    return 1;
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
    const plugcommon::PluginTable& table = LevellingPluginTable();
    Kjn_Send carrier(data);
    std::string folder;
    if (!PeldaIni::GetBinderTempPath(folder) || !PeldaIni::CreateDir(folder)) {
        HostMessageBox("オープンエラーが発生しました", "エラーメッセージ", kMbOk | kMbIconHand | kMbTaskModal);
        return false;
    }
    carrier.SetOutputPath((std::filesystem::path(folder) / table.csvFileName).string());
    if (carrier.Send() != 0) {
        HostMessageBox(table.csvDoneMessage, table.caption, kMbOk | kMbIconExclamation);
        return true;
    }
    const std::string message = carrier.GetStateMessage();
    if (!message.empty())
        HostMessageBox(message, table.caption, kMbOk | kMbIconExclamation);
    return false;
}

} // namespace mod00963

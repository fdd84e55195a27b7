#include "plugins/ctrlpoint/Kjn_Send.h"

#include <filesystem>
#include <system_error>

#include "hostfw/CVApp.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/PeldaSysData.h"
#include "hostfw/Tab00519Data.h"
#include "hostfw/gnss/KjnXyda_Nt.h"
#include "plugins/common/CsvWriter.h"
#include "plugins/common/PluginTable.h"
#include "plugins/ctrlpoint/ControlPointCsv.h"
#include "plugins/ctrlpoint/ControlPointEvaluation.h"
#include "plugins/ctrlpoint/ControlPointStatus.h"
#include "plugins/ctrlpoint/HostControlPointSiblings.h"
#include "plugins/ctrlpoint/Mod00519Table.h"
#include "plugins/ctrlpoint/TableReader.h"

namespace mod00519 {

Kjn_Send::Kjn_Send(const PartData& data)
    : plugcommon::Kjn_Send(ControlPointPluginTable()), m_data(std::make_unique<Tab00519Data>(data))
{
}

Kjn_Send::~Kjn_Send() = default;

bool Kjn_Send::RunEvaluation()
{
    CVApp& app = PeldaGetApp();
    const PeldaSysData* system = app.GetPartSysData(app.GetCurPartSysNo());
    const KjnXyda_Nt coordinates;
    HostControlPointSiblings siblings(system != nullptr ? system->GetHandle() : nullptr, system, coordinates);
    ControlPointEvaluation evaluation;
    evaluation.Evaluate(TableReader::Read(*m_data), siblings);
    SetState(evaluation.status);
    m_itemIndex = evaluation.itemIndex;
    m_itemKind = evaluation.itemKind;
    if (evaluation.status == kStatusOk)
        m_texts = evaluation.texts;
    return evaluation.status == kStatusOk;
}

// A failed header line aborts the output like a failed element line: the file is
// discarded and the write error shown, never left half written.
int Kjn_Send::WriteCsv(plugcommon::CsvWriter& out)
{
    const ControlPointCsv::Header header = ControlPointCsv::BuildHeader(*m_data);
    if (!WriteHeader(out, header.title, header.date, header.levelDescription)) {
        if (out.IsOpen())
            out.Abort(plugcommon::CsvWriter::kWriteError);
        return 0;
    }
    int element = 1;
    for (const ControlPointCsv::Element& values : ControlPointCsv::BuildElements(*m_data, m_texts)) {
        if (!WriteQualityElement(out, element++, values))
            return 0;
    }
    return 1;
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
    const plugcommon::PluginTable& table = ControlPointPluginTable();
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

} // namespace mod00519

#include "plugins/gnss/Kjn_Send.h"

#include "plugins/common/CsvWriter.h"
#include "plugins/gnss/GnssCsvContent.h"
#include "plugins/gnss/GnssEvaluation.h"
#include "plugins/gnss/GnssPluginTable.h"
#include "plugins/gnss/GnssResultMessages.h"
#include "plugins/gnss/GnssTableAccess.h"

#include "hostfw/CVApp.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PeldaIni.h"
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
    if (!WriteHeader(out, csv.title, csv.date, csv.levelDescription)) return 0;
    int n = 0;
    for (const CsvElementValues& e : csv.elements) {
        if (!WriteQualityElement(out, ++n, e.values)) return 0;
    }
    return 1;
}

std::string Kjn_Send::GetStateMessage() const
{
    if (GetState() == kStateCancelled) return plugcommon::Kjn_Send::GetStateMessage();
    if (GetState() == kResultOk) return {};
    return ResultMessage(GetState(), m_workKindName, m_surveyKindName);
}

int ExportEvaluationCsv(const PartData& data)
{
    const plugcommon::PluginTable& table = GnssPluginTable();
    Kjn_Send carrier(data);
    std::string folder;
    if (!PeldaIni::GetBinderTempPath(folder) || !PeldaIni::CreateDir(folder)) {
        HostMessageBox("オープンエラーが発生しました", "エラーメッセージ", kMbOk | kMbIconHand | kMbTaskModal);
        return 0;
    }
    carrier.SetOutputPath(JoinHostPath(folder, table.csvFileName));
    const int sent = carrier.Send();
    if (sent) {
        HostMessageBox(table.csvDoneMessage, table.caption, kMbOk | kMbIconExclamation);
    } else if (const std::string message = carrier.GetStateMessage(); !message.empty()) {
        HostMessageBox(message, table.caption, kMbOk | kMbIconExclamation);
    }
    carrier.SetOutputPath({});
    return sent;
}

}  // namespace mod04827

#include "plugins/common/CsvCommand.h"

#include <filesystem>

#include "hostfw/HostMessages.h"
#include "hostfw/PeldaIni.h"
#include "plugins/common/CsvWriter.h"
#include "plugins/common/Kjn_Send.h"
#include "plugins/common/PluginTable.h"

namespace plugcommon {

bool RunCsvCommand(Kjn_Send& carrier)
{
    const PluginTable& table = carrier.Table();
    std::string folder;
    if (!PeldaIni::GetBinderTempPath(folder) || !PeldaIni::CreateDir(folder)) {
        HostMessageBox("オープンエラーが発生しました", "エラーメッセージ", kMbOk | kMbIconHand | kMbTaskModal);
        return false;
    }
    carrier.SetOutputPath((std::filesystem::path(folder) / table.csvFileName).string());
    const bool written = carrier.Send() != 0;
    carrier.SetOutputPath({});
    if (written) {
        HostMessageBox(table.csvDoneMessage, table.caption, kMbOk | kMbIconExclamation);
        return true;
    }
    const std::string message = carrier.GetStateMessage();
    if (!message.empty())
        HostMessageBox(message, table.caption, kMbOk | kMbIconExclamation);
    return false;
}

int WriteQualityTable(Kjn_Send& carrier, CsvWriter& out, const std::string& title, const std::string& date,
                      const std::string& levelDescription, const std::vector<QualityElement>& elements)
{
    if (!carrier.WriteHeader(out, title, date, levelDescription)) {
        if (out.IsOpen())
            out.Abort(CsvWriter::kWriteError);
        return 0;
    }
    int element = 1;
    for (const QualityElement& values : elements) {
        if (!carrier.WriteQualityElement(out, element++, values))
            return 0;
    }
    return 1;
}

int WriteQualityTable(Kjn_Send& carrier, CsvWriter& out, const QualityCsvHeader& header,
                      const std::vector<QualityElement>& elements)
{
    return WriteQualityTable(carrier, out, header.title, header.date, header.levelDescription, elements);
}

} // namespace plugcommon

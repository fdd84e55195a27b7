#include "plugins/common/Kjn_Send.h"

#include "hostfw/FileChooser.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/VCabinetDocExDLL.h"
#include "hostfw/VCabinetDocTable.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "plugins/common/BinderOutput.h"
#include "plugins/common/DeliverySettings.h"
#include "plugins/common/PluginTable.h"

namespace plugcommon {

namespace {

constexpr const char* kBinderCaption = "確認";

constexpr const char* kElementFields[7] = {
    "]/evaluationMethodDescription,データ品質情報/報告/評価手法の記述,",
    "]/typeOfQualityEvaluation,データ品質情報/報告/データ品質要素型,",
    "]/result/DQ_ConformanceResult/explanation,データ品質情報/報告/結果/適合性の結果/説明,",
    "]/result/DQ_QuantitativeResult/valueUnit/name,データ品質情報/報告/結果/定量的結果/測定値の単位/単位名称,",
    "]/result/DQ_QuantitativeResult/valueUnit/measurementType,データ品質情報/報告/結果/定量的結果/測定値の単位/単位種類,",
    "]/result/DQ_QuantitativeResult/errorStatistic,データ品質情報/報告/結果/定量的結果/統計誤差,",
    "]/result/DQ_QuantitativeResult/value/otherValue,データ品質情報/報告/結果/定量的結果/測定値,",
};

void BinderMessage(const std::string& text)
{
    HostMessageBox(text, kBinderCaption, kMbOk | kMbIconHand);
}

} // namespace

Kjn_Send::Kjn_Send(const PluginTable& table) : m_table(table)
{
    m_cabInfo.systemNo = std::int64_t{0};
    DeliverySettings::InitDeliveryAttributes(table, m_deliveryFlag, m_attributes);
    DeliverySettings::ReadDeliverySettings(table, m_deliveryFlag, m_attributes);
}

Kjn_Send::~Kjn_Send() = default;

std::string Kjn_Send::GetStateMessage() const
{
    return m_state == kStateCancelled ? "出力を中止しました。" : std::string();
}

int Kjn_Send::Send()
{
    if (m_outputPath.empty())
        return 0;
    CsvWriter out;
    if (const int error = out.Open(m_outputPath)) {
        out.Abort(error);
        return 0;
    }
    if (!RunEvaluation()) {
        out.Discard();
        return 0;
    }
    // A writer that stopped has aborted the output already: no chooser after a failure.
    if (!WriteCsv(out)) {
        if (out.IsOpen())
            out.Abort(CsvWriter::kWriteError);
        return 0;
    }
    if (!out.Close())
        return 0;
    ChooseOutputFile();
    if (m_binderFile.empty()) {
        m_state = kStateCancelled;
        return 0;
    }
    if (!OutputFileExists()) {
        BinderMessage("出力ファイルを読めません。\n[" + m_outputPath + "]");
        return 0;
    }
    return RegisterOutputInBinder();
}

int Kjn_Send::WriteHeader(CsvWriter& out, const std::string& title, const std::string& date,
                          const std::string& levelDescription)
{
    int error = out.WriteValueLine(kHeaderCitation, "title,識別情報/引用/タイトル,", title);
    if (!error)
        error = out.WriteValueLine(kHeaderCitation, "date/date,識別情報/引用/日付/日付,", date);
    if (!error)
        error = out.WriteValueLine(kHeaderCitation, "date/dateType,識別情報/引用/日付/日付型,", "001");
    if (!error)
        error = out.WriteFieldLine("MD_Metadata/dateStamp,日付,", date);
    if (!error)
        error = out.WriteValueLine(kHeaderScope, "level,データ品質情報/適用範囲/レベル,", "005");
    if (!error)
        error = out.WriteValueLine(kHeaderScope, "levelDescription,データ品質情報/適用範囲/レベル記述,",
                                   levelDescription);
    if (error) {
        out.Abort(error);
        return 0;
    }
    return 1;
}

int Kjn_Send::WriteQualityElement(CsvWriter& out, int element, const std::array<std::string, 7>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (const int error = out.WriteElementLine(kElementPrefix, element, kElementFields[i], values[i])) {
            out.Abort(error);
            return 0;
        }
    }
    return 1;
}

void Kjn_Send::ChooseOutputFile()
{
    std::string work;
    PeldaIni::GetPeldaPath(PeldaIni::kWorkFolder, work);
    PeldaIni::CreateDir(work);
    const std::string listFile = JoinHostPath(work, "temp_rw.ini");
    const std::string kind = std::string(m_table.fileTypeText) + "*.csv" + ") ," + "*.csv" + ",1001,DMY.DLL,DMY,DMY";
    const std::optional<tessara::Cp932Bytes> encoded = tessara::ToCp932("1\r\n" + kind + "\r\n");
    const bool listWritten = encoded && tessara::AtomicWriteFile(listFile, encoded->Bytes());

    std::string text1 = m_text1;
    std::string text2 = m_text2;
    int registerFlag = m_registerFlag;
    int extra = 0;
    CABINFO info = m_cabInfo;
    info.systemNo = std::int64_t{VCabinetDocExDLL::kBinderSystem};
    std::vector<std::string> attributes = m_attributes;
    int deliveryFlag = m_deliveryFlag;
    const int chosen = listWritten ? _XFileNameLstForCals(m_binderFile, text1, text2, registerFlag, listFile,
                                                          0xF001, 2, 0, extra, info, nullptr, attributes,
                                                          deliveryFlag)
                                   : 0;
    if (chosen && GetSelectFileCount() > 0) {
        m_binderFile = GetSelectFileName(0);
        m_cabInfo = info;
        m_text1 = text1;
        m_text2 = text2;
        m_registerFlag = registerFlag;
        m_attributes = attributes;
        m_deliveryFlag = deliveryFlag;
        DeliverySettings::WriteDeliverySettings(m_table, m_deliveryFlag, m_attributes);
    }
    tessara::DeleteFile(listFile);
    if (!chosen)
        m_binderFile.clear();
}

bool Kjn_Send::OutputFileExists() const
{
    return !m_outputPath.empty() && tessara::ReadWholeFile(m_outputPath).has_value();
}

int Kjn_Send::RegisterOutputInBinder()
{
    if (m_registerFlag == 0)
        return CopyOutputFromTemp(m_outputPath, m_binderFile);
    const auto* system = std::get_if<std::int64_t>(&m_cabInfo.systemNo);
    const std::int64_t systemNo = system ? *system : 0;
    if (systemNo != VCabinetDocExDLL::kBinderSystem) {
        BinderMessage("無効なシステム番号が指定されていました。\n(" + std::to_string(systemNo) + ")" +
                      "この登録は無効です。");
        return 0;
    }
    VCabinetDocExDLL binder(VCabinetDocExDLL::kBinderSystem);
    VCabinetDocTable* table = binder.Create(VCabinetDocExDLL::kBinderSystem) ? binder.GetDocTable() : nullptr;
    if (!table || !table->SetCabInfo(m_cabInfo)) {
        BinderMessage("出力ファイルのバインダ登録に失敗しました。(ACCESS ERROR)");
        return 0;
    }
    const std::string name = V_GetFileName(m_binderFile);
    const FieldValue existing = table->FindDocument(VCabinetDocExDLL::kBinderSystem, name);
    if (IsVariantBlank(existing)) {
        const FieldValue id =
            table->NewDocument(name, VCabinetDocExDLL::kBinderSystem, std::int64_t{0}, std::int64_t{0});
        if (IsVariantBlank(id)) {
            BinderMessage("出力ファイルのバインダ登録に失敗しました。(NewDocument(" + name + "))");
            return 0;
        }
        if (!CopyOutputFromTemp(m_outputPath, m_binderFile)) {
            // A document without its file would stand in the binder: take it out again.
            table->RemoveDocument(id);
            return 0;
        }
        INFO info;
        table->GetInfo(id, info);
        info.text1 = m_text1;
        info.text2 = m_text2;
        if (!table->SetInfo(id, info) || !table->UpdateDocument(id)) {
            BinderMessage("出力ファイルのバインダ登録に失敗しました。(ACCESS ERROR)");
            return 0;
        }
        if (!m_attributes.empty()) {
            VDocTable::SetSname(*table, id, m_attributes);
            VDocTable::SetCalsUpDate(*table, id, m_deliveryFlag);
        }
        return 1;
    }
    if (!BackupDataFile(*table, existing))
        return 0;
    if (!CopyOutputFromTemp(m_outputPath, m_binderFile))
        return 0;
    if (!table->UpdateDocument(existing)) {
        BinderMessage("出力ファイルのバインダ登録に失敗しました。(ACCESS ERROR)");
        return 0;
    }
    return 1;
}

} // namespace plugcommon

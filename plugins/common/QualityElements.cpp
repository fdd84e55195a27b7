#include "plugins/common/QualityElements.h"

#include "hostfw/PartRecord.h"
#include "hostfw/TabParamData.h"
#include "plugins/common/ZoneNumeral.h"

namespace plugcommon {

namespace {

// Fields of record F1 shared by the control-point and levelling tables.
constexpr std::size_t kF1Product = 0;
constexpr std::size_t kF1Created = 2;
constexpr std::size_t kF1Zone = 4;
constexpr std::size_t kF1Area = 5;
constexpr std::size_t kF1Inspector = 6;
constexpr std::size_t kF1Scope = 7;
constexpr std::size_t kF1Verdict = 9;

} // namespace

std::vector<std::string> QualityKeyTriples(const std::string& summary, const std::string& prefix,
                                           std::initializer_list<const char*> items)
{
    std::vector<std::string> keys{summary};
    for (const char* item : items) {
        for (const char* part : {"要求", "方法", "結果"})
            keys.push_back(prefix + item + part);
    }
    return keys;
}

QualityRecords ReadQualityRecords(const TabParamData& data)
{
    QualityRecords records;
    data.GetRec("F1", records.f1);
    data.GetRec("F01", records.f01);
    data.GetRec("F02", records.f02);
    data.GetRec("F03", records.f03);
    data.GetRec("F04", records.f04);
    data.GetRec("F05", records.f05);
    return records;
}

QualityElement MakeQualityElement(const char* code, const std::string& method, const std::string& result,
                                  const char* unit, const char* measurementType)
{
    return {"製品仕様書に従った適合性評価を行った。", code, method, unit, measurementType, "全数検査", result};
}

QualityElement PercentElement(const char* code, const PartRecord& record, int item)
{
    return MakeQualityElement(code, record.Text(static_cast<std::size_t>(3 * item - 1)),
                              record.Text(static_cast<std::size_t>(3 * item)), "percent", "百分率");
}

QualityCsvHeader MakeQualityCsvHeader(const PartRecord& f1)
{
    return {f1.Text(kF1Product), f1.Text(kF1Created), f1.Text(kF1Scope)};
}

std::vector<QualityElement> QualityElementList(const PartRecord& f01, const PartRecord& f02,
                                               PositionalElements positional, const PartRecord& f04,
                                               const PartRecord& f05)
{
    std::vector<QualityElement> elements;
    elements.reserve(15);
    elements.push_back(PercentElement("001", f01, 1));
    elements.push_back(PercentElement("002", f01, 2));
    elements.push_back(PercentElement("005", f02, 1));
    elements.push_back(PercentElement("003", f02, 2));
    elements.push_back(PercentElement("004", f02, 3));
    elements.push_back(PercentElement("006", f02, 4));
    elements.push_back(std::move(positional.absolute));
    elements.push_back(std::move(positional.relative));
    elements.push_back(std::move(positional.grid));
    elements.push_back(PercentElement("010", f04, 1));
    elements.push_back(PercentElement("011", f04, 2));
    elements.push_back(PercentElement("012", f04, 3));
    elements.push_back(PercentElement("013", f05, 1));
    elements.push_back(PercentElement("014", f05, 2));
    elements.push_back(PercentElement("015", f05, 3));
    return elements;
}

QualityFormFields BuildQualityFormFields(const PartRecord& f1, const PartRecord& f01, const PartRecord& f02,
                                         const PartRecord& f04, const PartRecord& f05,
                                         PositionalFormFields positional)
{
    QualityFormFields fields;
    const auto put = [&fields](int number, std::string text) { fields.emplace_back(number, std::move(text)); };
    // Product, licence, creation date, author.
    for (int i = 0; i < 4; ++i)
        put(1 + i, f1.Text(static_cast<std::size_t>(i)));
    put(5, FormatZoneField(f1.Short(kF1Zone)));
    put(6, f1.Text(kF1Area));
    put(7, f1.Text(kF1Inspector));
    put(11, f1.Text(kF1Scope));
    put(21, f01.Text(0));
    put(22, f02.Text(0));
    put(23, std::move(positional.summary));
    put(24, f04.Text(0));
    put(25, f05.Text(0));
    put(26, f1.Text(kF1Verdict));
    for (auto& field : positional.afterVerdict)
        fields.push_back(std::move(field));
    for (int i = 1; i <= 6; ++i)
        put(30 + i, f01.Text(static_cast<std::size_t>(i)));
    for (int i = 1; i <= 12; ++i)
        put(40 + i, f02.Text(static_cast<std::size_t>(i)));
    for (int i = 0; i < 9; ++i)
        put(61 + i, std::move(positional.fields61[static_cast<std::size_t>(i)]));
    for (int i = 1; i <= 9; ++i)
        put(80 + i, f04.Text(static_cast<std::size_t>(i)));
    for (int i = 1; i <= 9; ++i)
        put(100 + i, f05.Text(static_cast<std::size_t>(i)));
    return fields;
}

const PartListFiller::KeyTable& QualityListKeys()
{
    static const PartListFiller::KeyTable keys = {
        {0, {"", "", "", "", "", "", "適用範囲", "評価結果"}},
        {2, QualityKeyTriples("完全総括", "完全", {"過剰", "漏れ"})},
        {3, QualityKeyTriples("論理総括", "論理", {"書式", "概念", "定義", "位相"})},
        {4, QualityKeyTriples("位置総括", "位置", {"絶対", "相対", "グリ"})},
        {5, QualityKeyTriples("時間総括", "時間", {"測定", "一貫", "妥当"})},
        {6, QualityKeyTriples("主題総括", "主題", {"分類", "非定", "定量"})},
    };
    return keys;
}

} // namespace plugcommon

#include "plugins/common/QualityElements.h"

#include "hostfw/PartRecord.h"

namespace plugcommon {

namespace {

// 要求/方法/結果 of each named item after a summary key.
std::vector<std::string> Triples(const std::string& summary, const std::string& prefix,
                                 std::initializer_list<const char*> items)
{
    std::vector<std::string> keys{summary};
    for (const char* item : items) {
        for (const char* part : {"要求", "方法", "結果"})
            keys.push_back(prefix + item + part);
    }
    return keys;
}

} // namespace

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

const PartListFiller::KeyTable& QualityListKeys()
{
    static const PartListFiller::KeyTable keys = {
        {0, {"", "", "", "", "", "", "適用範囲", "評価結果"}},
        {2, Triples("完全総括", "完全", {"過剰", "漏れ"})},
        {3, Triples("論理総括", "論理", {"書式", "概念", "定義", "位相"})},
        {4, Triples("位置総括", "位置", {"絶対", "相対", "グリ"})},
        {5, Triples("時間総括", "時間", {"測定", "一貫", "妥当"})},
        {6, Triples("主題総括", "主題", {"分類", "非定", "定量"})},
    };
    return keys;
}

} // namespace plugcommon

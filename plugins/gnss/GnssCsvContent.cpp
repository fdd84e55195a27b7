#include "plugins/gnss/GnssCsvContent.h"

#include "plugins/common/QualityElements.h"

namespace mod04827 {

namespace {

using R = GnssRecord;

struct ElementSource {
    const char* typeCode;
    R record;
    int explanationItem;   // text item of the record; for F03 the T number minus 1
    int valueItem;
    const char* unit;
    const char* measurementType;
};

constexpr const char* kPercent = "percent";
constexpr const char* kRatio = "百分率";
constexpr const char* kCentimeter = "centimeter";
constexpr const char* kLength = "長さ";

constexpr ElementSource kElements[] = {
    {"001", R::F01, 2, 3, kPercent, kRatio},        {"002", R::F01, 5, 6, kPercent, kRatio},
    {"005", R::F02, 2, 3, kPercent, kRatio},        {"003", R::F02, 5, 6, kPercent, kRatio},
    {"004", R::F02, 8, 9, kPercent, kRatio},        {"006", R::F02, 11, 12, kPercent, kRatio},
    {"007", R::F03, 2, 3, kCentimeter, kLength},    {"009", R::F03, 5, 6, kCentimeter, kLength},
    {"008", R::F03, 8, 9, "", ""},                  {"010", R::F04, 2, 3, kPercent, kRatio},
    {"011", R::F04, 5, 6, kPercent, kRatio},        {"012", R::F04, 8, 9, kPercent, kRatio},
    {"013", R::F05, 2, 3, kPercent, kRatio},        {"014", R::F05, 5, 6, kPercent, kRatio},
    {"015", R::F05, 8, 9, kPercent, kRatio},
};

}  // namespace

std::string RemoveCrLf(std::string text)
{
    std::string::size_type at = 0;
    while ((at = text.find("\r\n", at)) != std::string::npos) text.erase(at, 2);
    return text;
}

std::string JoinRelativeResults(const std::vector<std::string>& results)
{
    std::string joined;
    for (const std::string& entry : results) {
        if (!joined.empty()) joined += "  ";
        joined += entry;
    }
    return RemoveCrLf(std::move(joined));
}

GnssCsvContent BuildGnssCsvContent(const GnssTableSet& set, const GnssTexts& texts)
{
    GnssCsvContent csv;
    csv.title = set.Text(R::F1, 0);
    csv.date = set.Text(R::F1, 2);
    csv.levelDescription = set.Text(R::F1, 6);
    int n = 0;
    for (const ElementSource& src : kElements) {
        ++n;
        std::string result;
        if (n == 7)
            result = set.Switch(3) != 0 ? set.Text(R::F03, 3) : RemoveCrLf(texts.absoluteResult);
        else if (n == 8)
            result = set.Switch(5) != 0 ? set.Text(R::F03, 6) : JoinRelativeResults(texts.relativeResults);
        else
            result = set.Text(src.record, src.valueItem);
        csv.elements.push_back({plugcommon::MakeQualityElement(src.typeCode, set.Text(src.record, src.explanationItem),
                                                               result, src.unit, src.measurementType)});
    }
    return csv;
}

}  // namespace mod04827

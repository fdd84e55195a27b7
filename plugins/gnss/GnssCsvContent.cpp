#include "plugins/gnss/GnssCsvContent.h"

namespace mod04827 {

namespace {

using R = GnssRecord;

struct ElementSource {
    const char* typeCode;
    R record;
    int explanationItem;   // text item of the record; for F03 the T number minus 1
    int valueItem;
};

constexpr ElementSource kElements[] = {
    {"001", R::F01, 2, 3},  {"002", R::F01, 5, 6},  {"005", R::F02, 2, 3},
    {"003", R::F02, 5, 6},  {"004", R::F02, 8, 9},  {"006", R::F02, 11, 12},
    {"007", R::F03, 2, 3},  {"009", R::F03, 5, 6},  {"008", R::F03, 8, 9},
    {"010", R::F04, 2, 3},  {"011", R::F04, 5, 6},  {"012", R::F04, 8, 9},
    {"013", R::F05, 2, 3},  {"014", R::F05, 5, 6},  {"015", R::F05, 8, 9},
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
        CsvElementValues e;
        e.values[0] = "製品仕様書に従った適合性評価を行った。";
        e.values[1] = src.typeCode;
        e.values[2] = set.Text(src.record, src.explanationItem);
        if (n == 7 || n == 8) {
            e.values[3] = "centimeter";
            e.values[4] = "長さ";
        } else if (n != 9) {
            e.values[3] = "percent";
            e.values[4] = "百分率";
        }
        e.values[5] = "全数検査";
        if (n == 7)
            e.values[6] = set.Switch(3) != 0 ? set.Text(R::F03, 3) : RemoveCrLf(texts.absoluteResult);
        else if (n == 8)
            e.values[6] = set.Switch(5) != 0 ? set.Text(R::F03, 6) : JoinRelativeResults(texts.relativeResults);
        else
            e.values[6] = set.Text(src.record, src.valueItem);
        csv.elements.push_back(std::move(e));
    }
    return csv;
}

}  // namespace mod04827

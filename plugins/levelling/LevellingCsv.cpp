#include "plugins/levelling/LevellingCsv.h"

#include "hostfw/Tab00963Data.h"
#include "plugins/levelling/LevellingEvaluation.h"
#include "plugins/levelling/LevellingRecords.h"

namespace mod00963 {

namespace {

constexpr const char* kMethodDescription = "製品仕様書に従った適合性評価を行った。";
constexpr const char* kErrorStatistic = "全数検査";

LevellingCsv::Element MakeElement(const char* code, const std::string& method, const std::string& result,
                                  const char* unit, const char* measurementType)
{
    return {kMethodDescription, code, method, unit, measurementType, kErrorStatistic, result};
}

} // namespace

LevellingCsv::Header LevellingCsv::BuildHeader(const Tab00963Data& data)
{
    PartRecord f1;
    data.Get_F1(f1);
    return {f1.Text(rec::kF1Product), f1.Text(rec::kF1Created), f1.Text(rec::kF1Scope)};
}

std::string LevellingCsv::ResultOnOneLine(const std::vector<std::string>& pieces)
{
    return LevellingEvaluation::JoinPieces(pieces, "  ");
}

std::vector<LevellingCsv::Element> LevellingCsv::BuildElements(const Tab00963Data& data,
                                                               const std::string& relativeResult)
{
    PartRecord f01, f02, f03, f04, f05;
    data.Get_F01(f01);
    data.Get_F02(f02);
    data.Get_F03(f03);
    data.Get_F04(f04);
    data.Get_F05(f05);
    // Item k of a record: requirement 3k-2, method 3k-1, result 3k.
    const auto percent = [](const char* code, const PartRecord& r, int k) {
        return MakeElement(code, r.Text(static_cast<std::size_t>(3 * k - 1)), r.Text(static_cast<std::size_t>(3 * k)),
                           "percent", "百分率");
    };
    const bool manualResult = f03.Short(rec::kF03RelResultSwitch) != 0;

    std::vector<Element> elements;
    elements.push_back(percent("001", f01, 1));
    elements.push_back(percent("002", f01, 2));
    elements.push_back(percent("005", f02, 1));
    elements.push_back(percent("003", f02, 2));
    elements.push_back(percent("004", f02, 3));
    elements.push_back(percent("006", f02, 4));
    elements.push_back(MakeElement("007", f03.Text(rec::kF03AbsMethod), f03.Text(rec::kF03AbsResult), "centimeter",
                                   "長さ"));
    elements.push_back(MakeElement("009", f03.Text(rec::kF03RelMethod),
                                   manualResult ? f03.Text(rec::kF03RelResultManual) : relativeResult, "centimeter",
                                   "長さ"));
    elements.push_back(MakeElement("008", f03.Text(rec::kF03GridMethod), f03.Text(rec::kF03GridResult), "", ""));
    elements.push_back(percent("010", f04, 1));
    elements.push_back(percent("011", f04, 2));
    elements.push_back(percent("012", f04, 3));
    elements.push_back(percent("013", f05, 1));
    elements.push_back(percent("014", f05, 2));
    elements.push_back(percent("015", f05, 3));
    return elements;
}

} // namespace mod00963

#include "plugins/ctrlpoint/ControlPointCsv.h"

#include "hostfw/Tab00519Data.h"
#include "plugins/ctrlpoint/ControlPointEvaluation.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"

namespace mod00519 {

namespace {

constexpr const char* kMethodDescription = "製品仕様書に従った適合性評価を行った。";
constexpr const char* kErrorStatistic = "全数検査";

ControlPointCsv::Element MakeElement(const char* code, const std::string& method, const std::string& result,
                                     const char* unit, const char* measurementType)
{
    return {kMethodDescription, code, method, unit, measurementType, kErrorStatistic, result};
}

} // namespace

ControlPointCsv::Header ControlPointCsv::BuildHeader(const Tab00519Data& data)
{
    PartRecord f1;
    data.Get_F1(f1);
    return {f1.Text(rec::kF1Product), f1.Text(rec::kF1Created), f1.Text(rec::kF1Scope)};
}

std::vector<ControlPointCsv::Element> ControlPointCsv::BuildElements(const Tab00519Data& data,
                                                                     const std::array<std::string, 7>& texts)
{
    PartRecord f01, f02, f03, f04, f05;
    data.Get_F01(f01);
    data.Get_F02(f02);
    data.Get_F03(f03);
    data.Get_F04(f04);
    data.Get_F05(f05);
    const auto percent = [](const char* code, const PartRecord& r, int k) {
        return MakeElement(code, r.Text(static_cast<std::size_t>(3 * k - 1)), r.Text(static_cast<std::size_t>(3 * k)),
                           "percent", "百分率");
    };
    const bool manualC = f03.Short(rec::kF03Switch[kSwitchC]) != 0;
    const bool manualE = f03.Short(rec::kF03Switch[kSwitchE]) != 0;
    using E = ControlPointEvaluation;

    std::vector<Element> elements;
    elements.push_back(percent("001", f01, 1));
    elements.push_back(percent("002", f01, 2));
    elements.push_back(percent("005", f02, 1));
    elements.push_back(percent("003", f02, 2));
    elements.push_back(percent("004", f02, 3));
    elements.push_back(percent("006", f02, 4));
    elements.push_back(MakeElement("007", f03.Text(rec::kF03AbsMethod),
                                   manualC ? f03.Text(rec::kF03AbsResult) : texts[E::kAbsoluteResult], "centimeter",
                                   "長さ"));
    elements.push_back(MakeElement("009", f03.Text(rec::kF03RelMethod),
                                   manualE ? f03.Text(rec::kF03RelResult) : texts[E::kRelativeResult], "centimeter",
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

} // namespace mod00519

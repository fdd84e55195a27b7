#include "plugins/levelling/LevellingCsv.h"

#include "hostfw/Tab00963Data.h"
#include "plugins/common/QualityElements.h"
#include "plugins/levelling/LevellingEvaluation.h"
#include "plugins/levelling/LevellingRecords.h"

namespace mod00963 {

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
    using plugcommon::MakeQualityElement;
    const auto percent = &plugcommon::PercentElement;
    const bool manualResult = f03.Short(rec::kF03RelResultSwitch) != 0;

    std::vector<Element> elements;
    elements.push_back(percent("001", f01, 1));
    elements.push_back(percent("002", f01, 2));
    elements.push_back(percent("005", f02, 1));
    elements.push_back(percent("003", f02, 2));
    elements.push_back(percent("004", f02, 3));
    elements.push_back(percent("006", f02, 4));
    elements.push_back(MakeQualityElement("007", f03.Text(rec::kF03AbsMethod), f03.Text(rec::kF03AbsResult), "centimeter",
                                   "長さ"));
    elements.push_back(MakeQualityElement("009", f03.Text(rec::kF03RelMethod),
                                   manualResult ? f03.Text(rec::kF03RelResultManual) : relativeResult, "centimeter",
                                   "長さ"));
    elements.push_back(MakeQualityElement("008", f03.Text(rec::kF03GridMethod), f03.Text(rec::kF03GridResult), "", ""));
    elements.push_back(percent("010", f04, 1));
    elements.push_back(percent("011", f04, 2));
    elements.push_back(percent("012", f04, 3));
    elements.push_back(percent("013", f05, 1));
    elements.push_back(percent("014", f05, 2));
    elements.push_back(percent("015", f05, 3));
    return elements;
}

} // namespace mod00963

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
    return plugcommon::MakeQualityCsvHeader(f1);
}

std::string LevellingCsv::ResultOnOneLine(const std::vector<std::string>& pieces)
{
    return LevellingEvaluation::JoinPieces(pieces, "  ");
}

std::vector<LevellingCsv::Element> LevellingCsv::BuildElements(const Tab00963Data& data,
                                                               const std::string& relativeResult)
{
    const plugcommon::QualityRecords r = plugcommon::ReadQualityRecords(data);
    const PartRecord& f03 = r.f03;
    using plugcommon::MakeQualityElement;
    const bool manualResult = f03.Short(rec::kF03RelResultSwitch) != 0;
    return plugcommon::QualityElementList(
        r.f01, r.f02,
        {MakeQualityElement("007", f03.Text(rec::kF03AbsMethod), f03.Text(rec::kF03AbsResult), "centimeter", "長さ"),
         MakeQualityElement("009", f03.Text(rec::kF03RelMethod),
                            manualResult ? f03.Text(rec::kF03RelResultManual) : relativeResult, "centimeter", "長さ"),
         MakeQualityElement("008", f03.Text(rec::kF03GridMethod), f03.Text(rec::kF03GridResult), "", "")},
        r.f04, r.f05);
}

} // namespace mod00963

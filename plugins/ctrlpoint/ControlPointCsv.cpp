#include "plugins/ctrlpoint/ControlPointCsv.h"

#include "hostfw/Tab00519Data.h"
#include "plugins/ctrlpoint/ControlPointEvaluation.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"

namespace mod00519 {

ControlPointCsv::Header ControlPointCsv::BuildHeader(const Tab00519Data& data)
{
    PartRecord f1;
    data.Get_F1(f1);
    return plugcommon::MakeQualityCsvHeader(f1);
}

std::vector<ControlPointCsv::Element> ControlPointCsv::BuildElements(const Tab00519Data& data,
                                                                     const std::array<std::string, 7>& texts)
{
    const plugcommon::QualityRecords r = plugcommon::ReadQualityRecords(data);
    const PartRecord& f03 = r.f03;
    using plugcommon::MakeQualityElement;
    const bool manualC = f03.Short(rec::kF03Switch[kSwitchC]) != 0;
    const bool manualE = f03.Short(rec::kF03Switch[kSwitchE]) != 0;
    using E = ControlPointEvaluation;
    return plugcommon::QualityElementList(
        r.f01, r.f02,
        {MakeQualityElement("007", f03.Text(rec::kF03AbsMethod),
                            manualC ? f03.Text(rec::kF03AbsResult) : texts[E::kAbsoluteResult], "centimeter", "長さ"),
         MakeQualityElement("009", f03.Text(rec::kF03RelMethod),
                            manualE ? f03.Text(rec::kF03RelResult) : texts[E::kRelativeResult], "centimeter", "長さ"),
         MakeQualityElement("008", f03.Text(rec::kF03GridMethod), f03.Text(rec::kF03GridResult), "", "")},
        r.f04, r.f05);
}

} // namespace mod00519

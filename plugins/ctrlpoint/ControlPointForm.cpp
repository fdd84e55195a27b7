#include "plugins/ctrlpoint/ControlPointForm.h"

#include "hostfw/SvyForm.h"
#include "hostfw/Tab00519Data.h"
#include "plugins/common/QualityElements.h"
#include "plugins/ctrlpoint/ControlPointEvaluation.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"

namespace mod00519 {

ControlPointForm::Fields ControlPointForm::Build(const Tab00519Data& data, const std::array<std::string, 7>& texts)
{
    using E = ControlPointEvaluation;
    const plugcommon::QualityRecords r = plugcommon::ReadQualityRecords(data);
    const PartRecord& f03 = r.f03;
    const auto chosen = [&f03](int s, std::size_t manualField, const std::string& generated) {
        return f03.Short(rec::kF03Switch[s]) != 0 ? f03.Text(manualField) : generated;
    };

    plugcommon::PositionalFormFields positional;
    positional.summary = chosen(kSwitchA, rec::kF03Summary, texts[E::kAbsoluteShort]);
    if (f03.Short(rec::kF03Switch[kSwitchA]) == 0)
        positional.afterVerdict = {{27, texts[E::kGradeName]}, {28, texts[E::kRelativeShort]}};
    positional.fields61 = {chosen(kSwitchB, rec::kF03AbsRequirement, texts[E::kAbsoluteForm]),
                           f03.Text(rec::kF03AbsMethod),
                           chosen(kSwitchC, rec::kF03AbsResult, texts[E::kAbsoluteResult]),
                           chosen(kSwitchD, rec::kF03RelRequirement, texts[E::kRelativeForm]),
                           f03.Text(rec::kF03RelMethod),
                           chosen(kSwitchE, rec::kF03RelResult, texts[E::kRelativeResult]),
                           f03.Text(rec::kF03GridRequirement),
                           f03.Text(rec::kF03GridMethod),
                           f03.Text(rec::kF03GridResult)};
    return plugcommon::BuildQualityFormFields(r.f1, r.f01, r.f02, r.f04, r.f05, std::move(positional));
}

void ControlPointForm::Write(SvyForm& form, const Tab00519Data& data, const std::array<std::string, 7>& texts)
{
    for (const auto& [number, text] : Build(data, texts))
        form.PutField(number, text, 0);
}

} // namespace mod00519

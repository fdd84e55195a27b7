#include "plugins/levelling/LevellingForm.h"

#include "hostfw/SvyForm.h"
#include "hostfw/Tab00963Data.h"
#include "plugins/common/QualityElements.h"
#include "plugins/levelling/Cal.h"
#include "plugins/levelling/LevellingRecords.h"

namespace mod00963 {

LevellingForm::Fields LevellingForm::Build(const Tab00963Data& data, const std::array<std::string, 3>& texts)
{
    const plugcommon::QualityRecords r = plugcommon::ReadQualityRecords(data);
    const PartRecord& f03 = r.f03;
    const auto chosen = [&f03](std::size_t switchField, std::size_t manualField, const std::string& generated) {
        return f03.Short(switchField) != 0 ? f03.Text(manualField) : generated;
    };

    plugcommon::PositionalFormFields positional;
    positional.summary = chosen(rec::kF03OverallSwitch, rec::kF03OverallManual, texts[0]);
    positional.fields61 = {f03.Text(rec::kF03AbsRequirement),
                           f03.Text(rec::kF03AbsMethod),
                           f03.Text(rec::kF03AbsResult),
                           chosen(rec::kF03RelRequirementSwitch, rec::kF03RelRequirementManual, texts[1]),
                           f03.Text(rec::kF03RelMethod),
                           chosen(rec::kF03RelResultSwitch, rec::kF03RelResultManual, texts[2]),
                           f03.Text(rec::kF03GridRequirement),
                           f03.Text(rec::kF03GridMethod),
                           f03.Text(rec::kF03GridResult)};
    return plugcommon::BuildQualityFormFields(r.f1, r.f01, r.f02, r.f04, r.f05, std::move(positional));
}

void LevellingForm::Write(SvyForm& form, const Tab00963Data& data, const std::array<std::string, 3>& texts)
{
    for (const auto& [number, text] : Build(data, texts))
        form.PutField(number, text, 0);
}

void WriteLevellingForm(SvyForm& form, const Cal& cal)
{
    LevellingForm::Write(form, cal.Data(), cal.Texts());
}

} // namespace mod00963

#include "plugins/levelling/LevellingForm.h"

#include "hostfw/SvyForm.h"
#include "hostfw/Tab00963Data.h"
#include "plugins/common/ZoneNumeral.h"
#include "plugins/levelling/Cal.h"
#include "plugins/levelling/LevellingRecords.h"

namespace mod00963 {

LevellingForm::Fields LevellingForm::Build(const Tab00963Data& data, const std::array<std::string, 3>& texts)
{
    PartRecord f1, f01, f02, f03, f04, f05;
    data.Get_F1(f1);
    data.Get_F01(f01);
    data.Get_F02(f02);
    data.Get_F03(f03);
    data.Get_F04(f04);
    data.Get_F05(f05);
    const auto chosen = [&f03](std::size_t switchField, std::size_t manualField, const std::string& generated) {
        return f03.Short(switchField) != 0 ? f03.Text(manualField) : generated;
    };

    Fields fields;
    const auto put = [&fields](int number, const std::string& text) { fields.emplace_back(number, text); };
    put(1, f1.Text(rec::kF1Product));
    put(2, f1.Text(rec::kF1License));
    put(3, f1.Text(rec::kF1Created));
    put(4, f1.Text(rec::kF1Author));
    put(5, plugcommon::FormatZoneField(f1.Short(rec::kF1Zone)));
    put(6, f1.Text(rec::kF1Area));
    put(7, f1.Text(rec::kF1Inspector));
    put(11, f1.Text(rec::kF1Scope));
    put(21, f01.Text(0));
    put(22, f02.Text(0));
    put(23, chosen(rec::kF03OverallSwitch, rec::kF03OverallManual, texts[0]));
    put(24, f04.Text(0));
    put(25, f05.Text(0));
    put(26, f1.Text(rec::kF1Verdict));
    for (int i = 1; i <= 6; ++i)
        put(30 + i, f01.Text(static_cast<std::size_t>(i)));
    for (int i = 1; i <= 12; ++i)
        put(40 + i, f02.Text(static_cast<std::size_t>(i)));
    put(61, f03.Text(rec::kF03AbsRequirement));
    put(62, f03.Text(rec::kF03AbsMethod));
    put(63, f03.Text(rec::kF03AbsResult));
    put(64, chosen(rec::kF03RelRequirementSwitch, rec::kF03RelRequirementManual, texts[1]));
    put(65, f03.Text(rec::kF03RelMethod));
    put(66, chosen(rec::kF03RelResultSwitch, rec::kF03RelResultManual, texts[2]));
    put(67, f03.Text(rec::kF03GridRequirement));
    put(68, f03.Text(rec::kF03GridMethod));
    put(69, f03.Text(rec::kF03GridResult));
    for (int i = 1; i <= 9; ++i)
        put(80 + i, f04.Text(static_cast<std::size_t>(i)));
    for (int i = 1; i <= 9; ++i)
        put(100 + i, f05.Text(static_cast<std::size_t>(i)));
    return fields;
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

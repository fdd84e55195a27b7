#include "plugins/ctrlpoint/ControlPointForm.h"

#include "hostfw/SvyForm.h"
#include "hostfw/Tab00519Data.h"
#include "plugins/common/ZoneNumeral.h"
#include "plugins/ctrlpoint/ControlPointEvaluation.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"

namespace mod00519 {

ControlPointForm::Fields ControlPointForm::Build(const Tab00519Data& data, const std::array<std::string, 7>& texts)
{
    using E = ControlPointEvaluation;
    PartRecord f1, f01, f02, f03, f04, f05;
    data.Get_F1(f1);
    data.Get_F01(f01);
    data.Get_F02(f02);
    data.Get_F03(f03);
    data.Get_F04(f04);
    data.Get_F05(f05);
    const auto manual = [&f03](int s) { return f03.Short(rec::kF03Switch[s]) != 0; };

    Fields fields;
    const auto put = [&fields](int number, const std::string& text) { fields.emplace_back(number, text); };
    for (int i = 0; i < 4; ++i)
        put(1 + i, f1.Text(static_cast<std::size_t>(i)));
    put(5, plugcommon::FormatZoneField(f1.Short(rec::kF1Zone)));
    put(6, f1.Text(rec::kF1Area));
    put(7, f1.Text(rec::kF1Inspector));
    put(11, f1.Text(rec::kF1Scope));
    put(21, f01.Text(0));
    put(22, f02.Text(0));
    put(23, manual(kSwitchA) ? f03.Text(rec::kF03Summary) : texts[E::kAbsoluteShort]);
    put(24, f04.Text(0));
    put(25, f05.Text(0));
    put(26, f1.Text(rec::kF1Verdict));
    if (!manual(kSwitchA)) {
        put(27, texts[E::kGradeName]);
        put(28, texts[E::kRelativeShort]);
    }
    for (int i = 1; i <= 6; ++i)
        put(30 + i, f01.Text(static_cast<std::size_t>(i)));
    for (int i = 1; i <= 12; ++i)
        put(40 + i, f02.Text(static_cast<std::size_t>(i)));
    put(61, manual(kSwitchB) ? f03.Text(rec::kF03AbsRequirement) : texts[E::kAbsoluteForm]);
    put(62, f03.Text(rec::kF03AbsMethod));
    put(63, manual(kSwitchC) ? f03.Text(rec::kF03AbsResult) : texts[E::kAbsoluteResult]);
    put(64, manual(kSwitchD) ? f03.Text(rec::kF03RelRequirement) : texts[E::kRelativeForm]);
    put(65, f03.Text(rec::kF03RelMethod));
    put(66, manual(kSwitchE) ? f03.Text(rec::kF03RelResult) : texts[E::kRelativeResult]);
    put(67, f03.Text(rec::kF03GridRequirement));
    put(68, f03.Text(rec::kF03GridMethod));
    put(69, f03.Text(rec::kF03GridResult));
    for (int i = 1; i <= 9; ++i)
        put(80 + i, f04.Text(static_cast<std::size_t>(i)));
    for (int i = 1; i <= 9; ++i)
        put(100 + i, f05.Text(static_cast<std::size_t>(i)));
    return fields;
}

void ControlPointForm::Write(SvyForm& form, const Tab00519Data& data, const std::array<std::string, 7>& texts)
{
    for (const auto& [number, text] : Build(data, texts))
        form.PutField(number, text, 0);
}

} // namespace mod00519

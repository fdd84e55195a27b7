#include "plugins/gnss/GnssFormFields.h"

#include "plugins/gnss/SplitText.h"

#include <array>

namespace mod04827 {

namespace {

using R = GnssRecord;

constexpr std::array<const char*, 19> kZoneNames{"Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ", "Ⅴ", "Ⅵ", "Ⅶ", "Ⅷ", "Ⅸ", "Ⅹ",
                                                 "ⅩⅠ", "ⅩⅡ", "ⅩⅢ", "ⅩⅣ", "ⅩⅤ", "ⅩⅥ", "ⅩⅦ", "ⅩⅧ", "ⅩⅨ"};

// F03 text Tn (1..10).
const std::string& T(const GnssTableSet& set, int n)
{
    return set.Text(R::F03, n - 1);
}

void PutLines(std::vector<std::pair<int, std::string>>& out, const std::vector<int>& fields,
              const std::vector<std::string>& lines)
{
    for (std::size_t i = 0; i < fields.size() && i < lines.size(); ++i) out.emplace_back(fields[i], lines[i]);
}

}  // namespace

std::string ZoneFieldText(int zone)
{
    if (zone < 1 || zone > 19) return {};
    return std::string("平面直角座標系 ") + kZoneNames[static_cast<std::size_t>(zone - 1)] + "系";
}

std::vector<std::pair<int, std::string>> GnssFormFields(const GnssTableSet& set, const GnssTexts& texts)
{
    std::vector<std::pair<int, std::string>> out;
    // F1 texts: 0 product, 1 licence, 2 date, 3 author, 4 area, 5 inspector, 6 scope, 7 verdict.
    for (int k = 0; k < 4; ++k) out.emplace_back(1 + k, set.Text(R::F1, k));
    out.emplace_back(5, ZoneFieldText(set.Zone()));
    out.emplace_back(6, set.Text(R::F1, 4));
    out.emplace_back(7, set.Text(R::F1, 5));
    out.emplace_back(11, set.Text(R::F1, 6));
    out.emplace_back(21, set.Text(R::F01, 0));
    out.emplace_back(22, set.Text(R::F02, 0));
    out.emplace_back(24, set.Text(R::F04, 0));
    out.emplace_back(25, set.Text(R::F05, 0));
    out.emplace_back(26, set.Text(R::F1, 7));

    const auto requirementLines =
        set.Switch(1) != 0 ? CutFormLines(T(set, 1), 78, 78, 6) : texts.requirements;
    PutLines(out, {23, 27, 70, 71, 72, 73, 74}, requirementLines);

    for (int k = 1; k <= 6; ++k) out.emplace_back(30 + k, set.Text(R::F01, k));
    for (int k = 1; k <= 12; ++k) out.emplace_back(40 + k, set.Text(R::F02, k));

    out.emplace_back(61, set.Switch(2) != 0 ? T(set, 2) : texts.absoluteRequirement);
    out.emplace_back(62, T(set, 3));
    out.emplace_back(63, set.Switch(3) != 0 ? T(set, 4) : texts.absoluteResult);

    const auto relativeRequirementLines =
        set.Switch(4) != 0 ? CutFormLines(T(set, 5), 120, 90, 4) : texts.relativeRequirements;
    PutLines(out, {64, 75, 76, 77, 78}, relativeRequirementLines);
    out.emplace_back(65, T(set, 6));
    const auto relativeResultLines =
        set.Switch(5) != 0 ? CutFormLines(T(set, 7), 80, 60, 4) : texts.relativeResults;
    PutLines(out, {66, 90, 91, 92, 93}, relativeResultLines);
    out.emplace_back(67, T(set, 8));
    out.emplace_back(68, T(set, 9));
    out.emplace_back(69, T(set, 10));

    for (int k = 1; k <= 9; ++k) out.emplace_back(80 + k, set.Text(R::F04, k));
    for (int k = 1; k <= 9; ++k) out.emplace_back(100 + k, set.Text(R::F05, k));
    return out;
}

}  // namespace mod04827

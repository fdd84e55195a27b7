#include "plugins/common/ZoneNumeral.h"

#include <array>

namespace plugcommon {

namespace {

constexpr std::array<const char*, 10> kNumerals = {"Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ", "Ⅴ", "Ⅵ", "Ⅶ", "Ⅷ", "Ⅸ", "Ⅹ"};

} // namespace

std::string ZoneRomanNumeral(int zone)
{
    if (zone < 1 || zone > 19)
        return {};
    if (zone <= 10)
        return kNumerals[static_cast<std::size_t>(zone - 1)];
    return std::string(kNumerals[9]) + kNumerals[static_cast<std::size_t>(zone - 11)];
}

std::string FormatZoneField(int zone)
{
    const std::string numeral = ZoneRomanNumeral(zone);
    return numeral.empty() ? std::string() : "平面直角座標系 " + numeral + "系";
}

} // namespace plugcommon

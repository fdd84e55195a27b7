#pragma once

#include <string>

namespace plugcommon {

// The Roman numeral of a plane-rectangular coordinate zone as the forms print it:
// 1 … 10 are Ⅰ … Ⅹ, 11 … 19 are Ⅹ followed by Ⅰ … Ⅸ; empty outside 1 … 19.
std::string ZoneRomanNumeral(int zone);

// Form field 5: "平面直角座標系 %s系" with the zone's numeral, or empty outside 1 … 19.
std::string FormatZoneField(int zone);

} // namespace plugcommon

#pragma once

#include "plugins/gnss/GnssTableSet.h"
#include "plugins/gnss/GnssTexts.h"

#include <string>
#include <utility>
#include <vector>

namespace mod04827 {

// The report form's fields (number, text) in the order they are written, from the
// part's table set and the evaluation's texts.
std::vector<std::pair<int, std::string>> GnssFormFields(const GnssTableSet& set, const GnssTexts& texts);

// "平面直角座標系 %s系" for zones 1..19, else empty.
std::string ZoneFieldText(int zone);

}  // namespace mod04827

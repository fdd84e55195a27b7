#pragma once

#include <array>
#include <string>
#include <vector>

#include "plugins/common/QualityElements.h"

class Tab00519Data;

namespace mod00519 {

// What the control-point table writes into the metadata CSV: the header values and
// the seven values of each of the fifteen quality elements.
class ControlPointCsv {
public:
    using Header = plugcommon::QualityCsvHeader;
    using Element = plugcommon::QualityElement;

    static Header BuildHeader(const Tab00519Data& data);
    // texts: the evaluation's seven texts (elements 7 and 8 take texts 4 and 6 unless
    // their switch is manual).
    static std::vector<Element> BuildElements(const Tab00519Data& data, const std::array<std::string, 7>& texts);
};

} // namespace mod00519

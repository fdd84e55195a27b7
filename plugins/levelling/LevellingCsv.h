#pragma once

#include <string>
#include <vector>

#include "plugins/common/QualityElements.h"

class Tab00963Data;

namespace mod00963 {

// What the levelling table writes into the metadata CSV: the header values and the
// seven values of each of the fifteen quality elements.
class LevellingCsv {
public:
    using Header = plugcommon::QualityCsvHeader;
    using Element = plugcommon::QualityElement;

    static Header BuildHeader(const Tab00963Data& data);
    // relativeResult: the evaluation's relative result as one line (element 8 takes
    // it unless the relative result switch is manual).
    static std::vector<Element> BuildElements(const Tab00963Data& data, const std::string& relativeResult);
    // The result pieces joined with two spaces: a CSV value keeps to its line.
    static std::string ResultOnOneLine(const std::vector<std::string>& pieces);
};

} // namespace mod00963

#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

class SvyForm;
class Tab00519Data;

namespace mod00519 {

// The report form of the control-point table: fields 1 … 109 from the part's records
// and the evaluation's seven texts (a manual switch keeps the user's text instead).
class ControlPointForm {
public:
    using Fields = std::vector<std::pair<int, std::string>>;

    // The fields in the order they are written; fields 27 and 28 only while switch A
    // is automatic.
    static Fields Build(const Tab00519Data& data, const std::array<std::string, 7>& texts);
    static void Write(SvyForm& form, const Tab00519Data& data, const std::array<std::string, 7>& texts);
};

} // namespace mod00519

#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

class SvyForm;
class Tab00963Data;

namespace mod00963 {

class Cal;

// The report form of the levelling table: fields 1 … 109 from the part's records and
// the evaluation's three texts (a manual switch keeps the user's text instead). Texts
// go to the form whole; the form shrinks or clips what does not fit.
class LevellingForm {
public:
    using Fields = std::vector<std::pair<int, std::string>>;

    // texts: overall requirement, relative requirement, relative result.
    static Fields Build(const Tab00963Data& data, const std::array<std::string, 3>& texts);
    static void Write(SvyForm& form, const Tab00963Data& data, const std::array<std::string, 3>& texts);
};

// Fills one open form document from the calculation context (its records, afresh, and
// its three texts).
void WriteLevellingForm(SvyForm& form, const Cal& cal);

} // namespace mod00963

#pragma once

#include "plugins/gnss/GnssTableSet.h"
#include "plugins/gnss/GnssTexts.h"

#include <array>
#include <string>
#include <vector>

namespace mod04827 {

// The values of one data-quality element block (7 lines).
struct CsvElementValues {
    std::array<std::string, 7> values;
};

// The values of "GPSHYO.CSV": the three header values and the 15 element blocks in
// the order they are written.
struct GnssCsvContent {
    std::string title;
    std::string date;
    std::string levelDescription;
    std::vector<CsvElementValues> elements;
};

GnssCsvContent BuildGnssCsvContent(const GnssTableSet& set, const GnssTexts& texts);

// The evaluation's relative results as one value: entries joined by two spaces, CR LF removed.
std::string JoinRelativeResults(const std::vector<std::string>& results);
std::string RemoveCrLf(std::string text);

}  // namespace mod04827

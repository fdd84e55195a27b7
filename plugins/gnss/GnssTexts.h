#pragma once

#include <string>
#include <vector>

namespace mod04827 {

// The five generated texts of the positional-accuracy record (UTF-8, CR LF inside).
struct GnssTexts {
    std::vector<std::string> requirements;
    std::string absoluteRequirement;
    std::string absoluteResult;
    std::vector<std::string> relativeRequirements;
    std::vector<std::string> relativeResults;
};

}  // namespace mod04827

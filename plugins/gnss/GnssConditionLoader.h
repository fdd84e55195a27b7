#pragma once

#include "plugins/gnss/GnssQuantities.h"

#include <string>

class PartSystem;
class Tab04827Data;

namespace mod04827 {

// Loads the work's conditions and collects the stored results of the sibling GNSS
// calculations for one evaluation. Every store it opens is closed when Load returns.
class GnssConditionLoader {
public:
    GnssConditionLoader(const Tab04827Data& data, PartSystem* handle);

    // The result code: 0, 7 (survey kind does not fit the work), 10 (known-point check
    // not run) or the general failure code (no work entry, unreadable store or file).
    short Load();

    int SurveyKind() const { return m_kind; }
    const GnssLimits& Limits() const { return m_limits; }
    const GnssQuantities& Quantities() const { return m_q; }
    const std::string& WorkKindName() const { return m_workKindName; }
    const std::string& SurveyKindName() const { return m_surveyKindName; }

private:
    const Tab04827Data& m_data;
    PartSystem* m_handle;
    int m_kind = 0;
    GnssLimits m_limits;
    GnssQuantities m_q;
    std::string m_workKindName;
    std::string m_surveyKindName;
};

}  // namespace mod04827

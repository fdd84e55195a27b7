#pragma once

#include "plugins/gnss/GnssTableSet.h"
#include "plugins/gnss/SurveyVariant.h"

#include <array>
#include <optional>
#include <string>

class Tab04827Data;

namespace mod04827 {

// Record name of a set's record ("F1", "F03S", "F05H4").
std::string RecordName(GnssRecord record, SurveyVariant variant);

// Reads the six records of a set; a record that cannot be read leaves its fields empty
// and the answer false (callers that write the set elsewhere then leave it alone).
bool ReadTableSet(const Tab04827Data& data, SurveyVariant variant, GnssTableSet& out);
// Puts the six records of a set; false when a put failed.
bool WriteTableSet(Tab04827Data& data, SurveyVariant variant, const GnssTableSet& set);

// The five switches of the set's F03; nullopt when F03 cannot be read.
std::optional<std::array<short, 5>> ReadSwitches(const Tab04827Data& data, SurveyVariant variant);

// Survey kind: first short of F3, 0 when the record cannot be read.
int ReadSurveyKind(const Tab04827Data& data);
bool WriteSurveyKind(Tab04827Data& data, int kind);
// Work number: first field of F2, 0 when the record cannot be read.
long ReadWorkNo(const Tab04827Data& data);
bool WriteWorkNo(Tab04827Data& data, long workNo);
// Reload flags: first short of F7.
short ReadReloadFlags(const Tab04827Data& data);
bool WriteReloadFlags(Tab04827Data& data, short flags);

}  // namespace mod04827

#pragma once

#include <array>
#include <string>

#include "plugins/common/PartListFiller.h"

class PartRecord;

namespace plugcommon {

// The seven values of one data-quality element of the metadata CSV.
using QualityElement = std::array<std::string, 7>;

// An element evaluated by the product definition's conformance check, counted in
// full: method description, code, method, unit, unit kind, "全数検査", result.
QualityElement MakeQualityElement(const char* code, const std::string& method, const std::string& result,
                                  const char* unit, const char* measurementType);
// A percentage element of text item k of a quality record (requirement 3k-2, method
// 3k-1, result 3k).
QualityElement PercentElement(const char* code, const PartRecord& record, int item);

// The drop-down list keys of the control-point and levelling tables' pages, by page
// type and text item: 0 header (items 6, 7), 2 completeness … 6 thematic accuracy.
const PartListFiller::KeyTable& QualityListKeys();

} // namespace plugcommon

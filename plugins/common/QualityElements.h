#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "hostfw/PartRecord.h"
#include "plugins/common/PartListFiller.h"

class TabParamData;

namespace plugcommon {

// Records F1, F01 … F05 of a control-point or levelling table (empty when not stored).
struct QualityRecords {
    PartRecord f1, f01, f02, f03, f04, f05;
};
QualityRecords ReadQualityRecords(const TabParamData& data);

// The seven values of one data-quality element of the metadata CSV.
using QualityElement = std::array<std::string, 7>;

// An element evaluated by the product definition's conformance check, counted in
// full: method description, code, method, unit, unit kind, "全数検査", result.
QualityElement MakeQualityElement(const char* code, const std::string& method, const std::string& result,
                                  const char* unit, const char* measurementType);
// A percentage element of text item k of a quality record (requirement 3k-2, method
// 3k-1, result 3k).
QualityElement PercentElement(const char* code, const PartRecord& record, int item);

// The header values of the metadata CSV from record F1: product name, creation date
// and the data-quality scope.
struct QualityCsvHeader {
    std::string title;
    std::string date;
    std::string levelDescription;
};
QualityCsvHeader MakeQualityCsvHeader(const PartRecord& f1);

// The three positional-accuracy elements of the CSV, in the order they are written
// (absolute 007, relative 009, grid 008).
struct PositionalElements {
    QualityElement absolute;
    QualityElement relative;
    QualityElement grid;
};
// The fifteen elements of the control-point and levelling tables in their written
// order: completeness (F01), logical consistency (F02), positional accuracy,
// temporal accuracy (F04), thematic accuracy (F05).
std::vector<QualityElement> QualityElementList(const PartRecord& f01, const PartRecord& f02,
                                               PositionalElements positional, const PartRecord& f04,
                                               const PartRecord& f05);

// The report form's fields (number, text) in the order they are written.
using QualityFormFields = std::vector<std::pair<int, std::string>>;
// What record F03 and the evaluation put on the form: field 23, the fields written
// right after 26 (none for some tables) and fields 61 … 69.
struct PositionalFormFields {
    std::string summary;
    QualityFormFields afterVerdict;
    std::array<std::string, 9> fields61;
};
// Fields 1 … 109 of the control-point and levelling forms from records F1, F01, F02,
// F04, F05 and the positional fields.
QualityFormFields BuildQualityFormFields(const PartRecord& f1, const PartRecord& f01, const PartRecord& f02,
                                         const PartRecord& f04, const PartRecord& f05,
                                         PositionalFormFields positional);

// 要求/方法/結果 of each named item after a summary key (list and settings keys).
std::vector<std::string> QualityKeyTriples(const std::string& summary, const std::string& prefix,
                                           std::initializer_list<const char*> items);

// The drop-down list keys of the control-point and levelling tables' pages, by page
// type and text item: 0 header (items 6, 7), 2 completeness … 6 thematic accuracy.
const PartListFiller::KeyTable& QualityListKeys();

} // namespace plugcommon

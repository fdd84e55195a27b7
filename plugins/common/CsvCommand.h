#pragma once

#include <string>
#include <vector>

#include "plugins/common/QualityElements.h"

namespace plugcommon {

class CsvWriter;
class Kjn_Send;

// The CSV command of a table dialog: writes the plug-in's CSV file (its table's
// csvFileName) in the binder's temporary folder through the carrier, lets the user
// store it in the binder and shows the outcome (the done message, or the carrier's
// state message when it has one). True on success.
bool RunCsvCommand(Kjn_Send& carrier);

// The six header lines and the elements 1 … n; a failed header line aborts the output
// like a failed element line. 1 when all were written.
int WriteQualityTable(Kjn_Send& carrier, CsvWriter& out, const std::string& title, const std::string& date,
                      const std::string& levelDescription, const std::vector<QualityElement>& elements);
int WriteQualityTable(Kjn_Send& carrier, CsvWriter& out, const QualityCsvHeader& header,
                      const std::vector<QualityElement>& elements);

} // namespace plugcommon

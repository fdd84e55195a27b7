#pragma once

#include "plugins/ctrlpoint/ControlPointTable.h"

class Tab00519Data;

namespace mod00519 {

// Reads what the evaluation needs from the part's records. Records never stored read
// as empty; the row lists end at their first unreadable row.
class TableReader {
public:
    static ControlPointTable Read(const Tab00519Data& data);
    static std::vector<CheckCalcRow> ReadCheckCalcs(const Tab00519Data& data);
};

} // namespace mod00519

#pragma once

#include <vector>

#include "hostfw/RecordLayout.h"

// Inside hostfw: the records the control-point (519) and levelling (963) quality
// tables share, in type-data order 0 … 6: F1, F2 (its fields given), F01 7 texts,
// F02 13 texts, F03 (its fields given), F04 and F05 10 texts each.
std::vector<RecordLayout> QualityTableRecords(std::vector<FieldKind> f2, std::vector<FieldKind> f03);

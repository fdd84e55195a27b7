#pragma once

#include <cstdint>
#include <string>

class CModelDataMng;

// Counts of what the scene shows and the number format the information boxes and
// the group pane use. The counters read the store: the caller holds the view lock.

// Digits with a comma after every third from the right, "-" for negatives:
// 1234567 -> "1,234,567". Every 64-bit value, its most negative one included.
std::string FormatThousands(std::int64_t value);

// Triangles of the shown TINs: groups shown with their TIN, the CAD TIN, the
// shown 3D-structure kinds and the view cloud's TIN. 0 with the root hidden.
std::int64_t CountShownTinTriangles(const CModelDataMng& store);

// Points of the groups shown with their points, and of the view cloud when shown.
// 0 with the root hidden.
std::int64_t CountShownPoints(const CModelDataMng& store);

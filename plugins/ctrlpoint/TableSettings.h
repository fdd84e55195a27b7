#pragma once

#include <string>

class Tab00519Data;

namespace mod00519 {

// The defaults of a new control-point table part and their persistence in
// "KJNHYOUKA.ini" (binder common-data folder and user-data root), section
// "基準点品質評価表".
class TableSettings {
public:
    // Fills F1, F2, F01 … F05 of a new part: from the first settings file that exists
    // and can be read (common data, then user root), else the first entry of each
    // field's drop-down list with zone and grade 1. Then the zone is the host's current
    // zone and "総作成時期" today's era date. Stores the records; false when a store failed.
    static bool LoadDefaults(Tab00519Data& data, int currentZone, const std::string& today);

    // Writes every field into both settings files, each in one atomic replace. Nothing
    // is written unless all seven records can be read; false then, or when a file could
    // not be written (an unreadable file is left as it was).
    static bool Save(const Tab00519Data& data, std::string& error);

    static std::string CommonDataFile();
    static std::string UserRootFile();
};

} // namespace mod00519

#pragma once

#include <array>
#include <string>

#include "hostfw/PartRecord.h"

class Tab00963Data;

namespace mod00963 {

// The seven records the settings file keeps: F1, F2, F01 … F05.
using LevellingDefaultRecords = std::array<PartRecord, 7>;

// Reads keys 1 to 64 of "SUIHYOUKA.ini" into the records; every field is overwritten
// (a missing key gives 0 or ""). False, with the records untouched, when the file is
// missing or cannot be read.
bool LoadLevellingDefaultsFromIni(const std::string& path, LevellingDefaultRecords& records);
// Writes keys 1 to 64 from the records in one atomic replace of the file. False when
// the file could not be written (an existing file that cannot be read is left as it was).
bool SaveLevellingDefaultsToIni(const std::string& path, const LevellingDefaultRecords& records,
                                std::string& error);
// The built-in defaults: zone 1, grade 1, kind 0, automatic switches, the header's
// free texts empty and every other text an entry of its "SuiHyoCmb.ini" list.
void FillBuiltInLevellingDefaults(LevellingDefaultRecords& records);

// The defaults of a new levelling table part and their persistence in
// "SUIHYOUKA.ini" (binder common-data folder and user-data root).
class LevellingSettings {
public:
    // Fills the seven records of a new part: from the first settings file that exists
    // and can be read (common data, then user root), else the built-in defaults. Then
    // the zone is the host's current zone (low byte) and "総作成時期" today's era date.
    // Stores the records; false when a store failed.
    static bool LoadDefaults(Tab00963Data& data, int currentZone, const std::string& today);
    // Writes every field into both settings files, each in one atomic replace. Nothing
    // is written unless all seven records can be read.
    static bool Save(const Tab00963Data& data, std::string& error);

    static std::string CommonDataFile();
    static std::string UserRootFile();
};

} // namespace mod00963

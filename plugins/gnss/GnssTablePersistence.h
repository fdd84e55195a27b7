#pragma once

#include "plugins/gnss/GnssTableSet.h"
#include "plugins/gnss/SurveyVariant.h"

#include <string>

class Tab04827Data;

namespace mod04827 {

// Where the table sets are kept between parts: the INI files in the binder's
// common-data folder and the user-data root, and the drop-down list files that give
// the built-in defaults.
struct GnssIniFolders {
    std::string commonData;
    std::string userRoot;
    std::string listFolder;

    static GnssIniFolders FromHost();
};

// The INI persistence of the four table sets of a part.
class GnssTablePersistence {
public:
    explicit GnssTablePersistence(GnssIniFolders folders);

    // Reads a set from the common-data file, else the user-root file, else the
    // built-in defaults. A file that exists but cannot be read counts as missing.
    void ReadSet(SurveyVariant variant, GnssTableSet& out) const;
    void FillDefaults(SurveyVariant variant, GnssTableSet& out) const;
    // Writes all 64 keys of a set to both files, each in one atomic replace; answers
    // the number of files written.
    int WriteSet(SurveyVariant variant, const GnssTableSet& set) const;

    // A new part: every set from the INI files or defaults, today's date in all four
    // headers, the current zone in the control-point and levelling headers; puts them.
    void PrepareNewPart(Tab04827Data& data, short zone, const std::string& today) const;
    // An existing part: serves the F7 reload flags (levelling bit 0x01, elevation bit
    // 0x02) and clears them; true when anything was reloaded.
    bool ServeReloadFlags(Tab04827Data& data) const;
    // Saves every set whose six records could all be read; answers the files written
    // (8 when everything was saved).
    int SaveAllSets(const Tab04827Data& data) const;

    std::string IniPath(const std::string& folder, SurveyVariant variant) const;

private:
    bool ReadIniFile(const std::string& path, SurveyVariant variant, GnssTableSet& out) const;

    GnssIniFolders m_folders;
};

}  // namespace mod04827

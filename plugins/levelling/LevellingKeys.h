#pragma once

#include <array>
#include <string>
#include <vector>

#include "plugins/common/PartListFiller.h"

class GridListBox;

namespace mod00963 {

// Names of the levelling table's fields: the key table of "SUIHYOUKA.ini" and the
// drop-down list keys of "SuiHyoCmb.ini".
class LevellingKeys {
public:
    // One record of the settings file and how many of its fields it stores.
    struct StoredRecord {
        const char* record;
        std::size_t fieldCount;
    };
    static constexpr std::size_t kKeyCount = 66;
    static constexpr std::size_t kStoredKeys = 64;

    // The 66 key names in their stored order. Key i (from 0) holds field i of the
    // records in the order of Records(); keys 64 and 65 are never read or written.
    // From "個位置グリッド要求(自動/手入力)" on, a key's name is that of the field two
    // places before the one it holds: files written by the dialog rely on this pairing.
    static const std::array<const char*, kKeyCount>& IniKeys();
    // F1, F2, F01 … F05 in key order (10 + 1 + 7 + 13 + 13 + 10 + 10 = 64 fields).
    static const std::vector<StoredRecord>& Records();
    // The list keys by page type and text item.
    static const plugcommon::PartListFiller::KeyTable& ListKeys();
    // The sheets' list filler on "SuiHyoCmb.ini", section "SUIHYOCMB".
    static const plugcommon::PartListFiller& Lists();
};

// The list helpers of this plug-in's list file "SuiHyoCmb.ini" (section "SUIHYOCMB").
std::string GetSuiComboIniPath();
int FillListFromComboIni(GridListBox* list, const std::string& key);
std::string ReadComboItem(const std::string& key, int index);

} // namespace mod00963

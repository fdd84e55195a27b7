#pragma once

#include <string>
#include <vector>

#include "plugins/common/PartListFiller.h"

class GridListBox;

namespace mod00519 {

// Names of the control-point table's fields: the keys of the settings file
// "KJNHYOUKA.ini" and the drop-down list keys of "KjnHyoCmb.ini".
class ControlPointKeys {
public:
    struct RecordKeys {
        const char* record;
        short pageType;                 // the sheet page showing the record's texts; -1 none
        std::vector<std::string> keys;  // one per field, in record order
    };
    // F1, F2, F01 … F05 with the settings key of every field.
    static const std::vector<RecordKeys>& SettingsKeys();
    // The list keys by page type and text item.
    static const plugcommon::PartListFiller::KeyTable& ListKeys();
    // The sheets' list filler on "KjnHyoCmb.ini", section "KJNHYOCMB".
    static const plugcommon::PartListFiller& Lists();
};

// The list helpers of this plug-in's list file "KjnHyoCmb.ini" (section "KJNHYOCMB").
std::string GetKjnComboIniPath();
int FillListFromComboIni(GridListBox* list, const std::string& key);
std::string ReadComboItem(const std::string& key, int index);

} // namespace mod00519

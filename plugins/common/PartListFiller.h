#pragma once

#include "hostfw/HostTypes.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

class GridListBox;

namespace plugcommon {

// The drop-down lists of a table's sheets: which list key each text cell of a page
// takes, and the entries of a key from the plug-in's list file (the settings folder's
// "KjnHyoCmb.ini", "SuiHyoCmb.ini"...). Entry 0 of a list is also the built-in default
// of its field.
class PartListFiller {
public:
    // Page type → list key of each text item (by item index; "" for an item without a list).
    using KeyTable = std::map<short, std::vector<std::string>>;

    PartListFiller(std::string listFileName, std::string section, KeyTable keys);

    // The list key of a text cell of the page; nullopt for other cells and pages.
    std::optional<std::string> KeyOf(short pageType, DWORD cellCode) const;
    std::optional<std::string> KeyOfItem(short pageType, int item) const;
    std::string ListFilePath() const;
    // The entries of a list, in order (empty ones included); none for a missing file,
    // key or a count that is not a number between 1 and the list limit.
    std::vector<std::string> Entries(const std::string& key) const;
    std::string Item(const std::string& key, int index) const;
    // Fills the grid's drop-down for the cell; answers the entries added, -1 when the
    // cell takes no list.
    int Fill(GridListBox* list, short pageType, DWORD cellCode) const;

private:
    std::string m_fileName;
    std::string m_section;
    KeyTable m_keys;
};

} // namespace plugcommon

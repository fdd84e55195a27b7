#pragma once

#include <string>

class GridListBox;

namespace plugcommon {

// Drop-down list files: count key "%s_max", entry keys "%s_%d" in the plug-in's list
// section. Counts above kMaxListEntries add nothing (a huge count would never end);
// entries are cut to 254 CP932 bytes on a character boundary.
inline constexpr int kMaxListEntries = 1000;

// The list file's path: the settings folder (PeldaIni code 0x10009) + the file name.
std::string ComboIniPath(const std::string& fileName);
// Appends the entries of key (empty ones included); answers how many were added.
int FillListFromComboIni(const std::string& listFile, const std::string& section,
                         GridListBox* list, const std::string& key);
// Entry index of key; empty when missing.
std::string ReadComboItem(const std::string& listFile, const std::string& section,
                          const std::string& key, int index);

} // namespace plugcommon

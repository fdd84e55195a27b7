#pragma once

#include "hostfw/HostTypes.h"

#include <string>

namespace plugcommon {

// The plug-in's settings INI access in one section (the plug-in table's
// settingsSection). Values are UTF-8; a read value over 254 CP932 bytes is cut on a
// character boundary, so it fits the host's char[255] record fields.
// ReadIniInt stores the leading decimal integer, saturated to the short range (0 when
// missing or not numeric); both readers answer the number of characters read.
int ReadIniInt(const std::string& section, const std::string& file, const std::string& key,
               short& out);
int ReadIniString(const std::string& section, const std::string& file, const std::string& key,
                  std::string& out);
// Non-zero on success (one atomic replace of the file per call).
int WriteIniString(const std::string& section, const std::string& file, const std::string& key,
                   const std::string& value);
int WriteIniInt(const std::string& section, const std::string& file, const std::string& key,
                WORD value);

// A settings file of the table plug-ins (fileName in the host's spelling, "\\KJNHYOUKA.ini")
// in the binder's common-data folder and in the user-data root; "" when the folder is
// unknown.
std::string CommonDataSettingsFile(const std::string& fileName);
std::string UserRootSettingsFile(const std::string& fileName);

// The leading decimal integer of a text, saturated to the short range; 0 when none.
short LeadingShort(const std::string& text);

} // namespace plugcommon

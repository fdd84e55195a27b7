#include "plugins/common/IniHelpers.h"

#include "hostfw/IniFile.h"
#include "hostfw/PeldaIni.h"
#include "platform/Cp932.h"

#include <cctype>
#include <limits>

namespace plugcommon {

namespace {

// The host's value buffer holds 254 CP932 bytes; longer values are cut on a character
// boundary, never in the middle of one.
std::string ReadValue(const std::string& section, const std::string& file, const std::string& key)
{
    return tessara::CutToCp932Bytes(V_GetProfileString(section, key, "", file), kRecordTextBytes);
}

} // namespace

short LeadingShort(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    bool any = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        any = true;
        if (value <= 1000000)
            value = value * 10 + (text[i] - '0');
    }
    if (!any)
        return 0;
    value = negative ? -value : value;
    if (value > std::numeric_limits<short>::max())
        return std::numeric_limits<short>::max();
    if (value < std::numeric_limits<short>::min())
        return std::numeric_limits<short>::min();
    return static_cast<short>(value);
}

int ReadIniInt(const std::string& section, const std::string& file, const std::string& key, short& out)
{
    const std::string value = ReadValue(section, file, key);
    out = LeadingShort(value);
    return static_cast<int>(tessara::Cp932Length(value));
}

int ReadIniString(const std::string& section, const std::string& file, const std::string& key,
                  std::string& out)
{
    out = ReadValue(section, file, key);
    return static_cast<int>(tessara::Cp932Length(out));
}

int WriteIniString(const std::string& section, const std::string& file, const std::string& key,
                   const std::string& value)
{
    return V_WriteProfileString(section, key, value, file) ? 1 : 0;
}

int WriteIniInt(const std::string& section, const std::string& file, const std::string& key, WORD value)
{
    return WriteIniString(section, file, key, std::to_string(value));
}

std::string CommonDataSettingsFile(const std::string& fileName)
{
    std::string folder;
    return PeldaIni::GetBinderCommonDataPath(folder) ? JoinHostPath(folder, fileName) : std::string();
}

std::string UserRootSettingsFile(const std::string& fileName)
{
    std::string folder;
    return PeldaIni::GetPeldaUserDataRootPath(folder) ? JoinHostPath(folder, fileName) : std::string();
}

} // namespace plugcommon

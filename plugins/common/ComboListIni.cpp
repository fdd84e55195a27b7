#include "plugins/common/ComboListIni.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/IniFile.h"
#include "hostfw/PeldaIni.h"
#include "platform/Cp932.h"
#include "plugins/common/IniHelpers.h"

namespace plugcommon {

std::string ComboIniPath(const std::string& fileName)
{
    std::string folder;
    PeldaIni::GetPeldaPath(PeldaIni::kSettingsFolder, folder);
    return JoinHostPath(folder, fileName);
}

int FillListFromComboIni(const std::string& listFile, const std::string& section, GridListBox* list,
                         const std::string& key)
{
    if (!list)
        return 0;
    IniFile ini;
    std::string error;
    if (!ini.Load(listFile, error))
        return 0;
    const int count = LeadingShort(ini.Get(section, key + "_max").value_or("0"));
    if (count <= 0 || count > kMaxListEntries)
        return 0;
    for (int i = 0; i < count; ++i) {
        const std::string entry = ini.Get(section, key + "_" + std::to_string(i)).value_or("");
        list->AddString(tessara::CutToCp932Bytes(entry, kRecordTextBytes));
    }
    return count;
}

std::string ReadComboItem(const std::string& listFile, const std::string& section, const std::string& key,
                          int index)
{
    const std::string entry = V_GetProfileString(section, key + "_" + std::to_string(index), "", listFile);
    return tessara::CutToCp932Bytes(entry, kRecordTextBytes);
}

} // namespace plugcommon

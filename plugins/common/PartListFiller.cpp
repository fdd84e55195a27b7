#include "plugins/common/PartListFiller.h"

#include "hostfw/IniFile.h"
#include "plugins/common/CellCodes.h"
#include "plugins/common/ComboListIni.h"
#include "plugins/common/IniHelpers.h"

namespace plugcommon {

PartListFiller::PartListFiller(std::string listFileName, std::string section, KeyTable keys)
    : m_fileName(std::move(listFileName)), m_section(std::move(section)), m_keys(std::move(keys))
{
}

std::optional<std::string> PartListFiller::KeyOfItem(short pageType, int item) const
{
    const auto page = m_keys.find(pageType);
    if (page == m_keys.end() || item < 0 || static_cast<std::size_t>(item) >= page->second.size() ||
        page->second[static_cast<std::size_t>(item)].empty())
        return std::nullopt;
    return page->second[static_cast<std::size_t>(item)];
}

std::optional<std::string> PartListFiller::KeyOf(short pageType, DWORD cellCode) const
{
    return KeyOfItem(pageType, TextItemOf(cellCode));
}

std::string PartListFiller::ListFilePath() const
{
    return ComboIniPath(m_fileName);
}

std::vector<std::string> PartListFiller::Entries(const std::string& key) const
{
    const std::string path = ListFilePath();
    const short count = LeadingShort(V_GetProfileString(m_section, key + "_max", "0", path));
    std::vector<std::string> entries;
    if (count <= 0 || count > kMaxListEntries)
        return entries;
    for (int i = 0; i < count; ++i)
        entries.push_back(ReadComboItem(path, m_section, key, i));
    return entries;
}

std::string PartListFiller::Item(const std::string& key, int index) const
{
    return ReadComboItem(ListFilePath(), m_section, key, index);
}

int PartListFiller::Fill(GridListBox* list, short pageType, DWORD cellCode) const
{
    const std::optional<std::string> key = KeyOf(pageType, cellCode);
    if (!key)
        return -1;
    return FillListFromComboIni(ListFilePath(), m_section, list, *key);
}

} // namespace plugcommon

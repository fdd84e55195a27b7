#include "platform/RecentFileList.h"

#include "platform/IProfile.h"

#include <algorithm>

namespace tessara {
namespace {

constexpr const char* kSection = "Recent File List";

std::string EntryKey(std::size_t index)
{
    return "File" + std::to_string(index + 1);
}

} // namespace

RecentFileList::RecentFileList(IProfile* profile, std::size_t size) : m_profile(profile), m_size(size) {}

void RecentFileList::ReadList()
{
    m_entries.clear();
    if (!m_profile) {
        return;
    }
    for (std::size_t i = 0; i < m_size; ++i) {
        const std::string path = m_profile->GetProfileString(kSection, EntryKey(i));
        if (!path.empty() && std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end()) {
            m_entries.push_back(path);
        }
    }
}

bool RecentFileList::WriteList() const
{
    if (!m_profile) {
        return false;
    }
    bool ok = true;
    for (std::size_t i = 0; i < m_size; ++i) {
        ok = m_profile->WriteProfileString(kSection, EntryKey(i), i < m_entries.size() ? m_entries[i] : "") && ok;
    }
    return ok;
}

void RecentFileList::Add(const std::string& path)
{
    if (path.empty() || m_size == 0) {
        return;
    }
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), path), m_entries.end());
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > m_size) {
        m_entries.resize(m_size);
    }
}

void RecentFileList::Remove(std::size_t index)
{
    if (index < m_entries.size()) {
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

} // namespace tessara

#include "hostfw/gnss/StrList.h"

#include "hostfw/PeldaIni.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <fstream>
#include <iterator>

bool StrList::Load(const std::string& path)
{
    m_entries.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    for (std::size_t at = 0; at + kEntryBytes <= bytes.size(); at += kEntryBytes) {
        std::string raw = bytes.substr(at, kEntryBytes);
        raw.erase(std::find(raw.begin(), raw.end(), '\0'), raw.end());
        while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\r' || raw.back() == '\n')) raw.pop_back();
        const auto text = tessara::FromCp932(tessara::Cp932Bytes::FromBytes(raw));
        m_entries.push_back(text ? *text : std::string());
    }
    return true;
}

std::string StrList::Get(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size()) return {};
    return m_entries[static_cast<std::size_t>(index)];
}

std::string StrList::WorkKindListPath()
{
    std::string folder;
    if (!PeldaIni::GetPeldaPath(PeldaIni::kSystemFolder, folder)) return {};
    return JoinHostPath(JoinHostPath(folder, "SysVur"), "List.dat");
}

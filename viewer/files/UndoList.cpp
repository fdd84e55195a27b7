#include "viewer/files/UndoList.h"

#include "platform/Files.h"

#include <algorithm>
#include <cstdio>

UndoList::UndoList(std::uint16_t id, std::string folder) : m_id(id), m_folder(std::move(folder)) {}

std::string UndoList::SlotName(int slot) const
{
    char name[64];
    std::snprintf(name, sizeof name, "~DAveru_undo_%u_%03d.tmp", unsigned(m_id), slot);
    return m_folder + name;
}

std::optional<std::string> UndoList::ReserveSlot()
{
    std::lock_guard lock(m_mutex);
    for (int slot = 0; slot < kSlots; ++slot) {
        std::string name = SlotName(slot);
        if (!tessara::FileExists(name) && std::find(m_names.begin(), m_names.end(), name) == m_names.end()) {
            m_names.push_back(name);
            return name;
        }
    }
    if (m_names.size() != std::size_t(kSlots) || !tessara::FileExists(m_names.front())) return std::nullopt;
    std::string oldest = m_names.front();
    tessara::DeleteFile(oldest);
    m_names.erase(m_names.begin());
    m_names.push_back(oldest);
    return oldest;
}

void UndoList::Forget(const std::string& name)
{
    std::lock_guard lock(m_mutex);
    const auto it = std::find(m_names.begin(), m_names.end(), name);
    if (it != m_names.end()) m_names.erase(it);
}

std::optional<std::string> UndoList::TakeNewest()
{
    std::lock_guard lock(m_mutex);
    if (m_names.empty()) return std::nullopt;
    std::string name = std::move(m_names.back());
    m_names.pop_back();
    return name;
}

void UndoList::Clear()
{
    std::lock_guard lock(m_mutex);
    for (int slot = 0; slot < kSlots; ++slot) {
        const std::string name = SlotName(slot);
        if (tessara::FileExists(name)) tessara::DeleteFile(name);
    }
    m_names.clear();
}

bool UndoList::Empty() const
{
    std::lock_guard lock(m_mutex);
    return m_names.empty();
}

std::size_t UndoList::Size() const
{
    std::lock_guard lock(m_mutex);
    return m_names.size();
}

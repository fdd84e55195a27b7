#include "platform/MemoryProfile.h"

#include "platform/Numbers.h"

namespace tessara {

int MemoryProfile::GetProfileInt(std::string_view section, std::string_view key, int defaultValue)
{
    const std::lock_guard lock(m_mutex);
    const auto it = m_values.find(Key(section, key));
    if (it == m_values.end()) {
        return defaultValue;
    }
    return ParseInt(it->second).value_or(defaultValue);
}

std::string MemoryProfile::GetProfileString(std::string_view section, std::string_view key,
                                            std::string_view defaultValue)
{
    const std::lock_guard lock(m_mutex);
    const auto it = m_values.find(Key(section, key));
    return it == m_values.end() ? std::string(defaultValue) : it->second;
}

bool MemoryProfile::WriteProfileInt(std::string_view section, std::string_view key, int value)
{
    return WriteProfileString(section, key, std::to_string(value));
}

bool MemoryProfile::WriteProfileString(std::string_view section, std::string_view key,
                                       std::string_view value)
{
    const std::lock_guard lock(m_mutex);
    m_values[Key(section, key)] = std::string(value);
    return true;
}

bool MemoryProfile::Contains(std::string_view section, std::string_view key) const
{
    const std::lock_guard lock(m_mutex);
    return m_values.count(Key(section, key)) != 0;
}

std::size_t MemoryProfile::Size() const
{
    const std::lock_guard lock(m_mutex);
    return m_values.size();
}

} // namespace tessara

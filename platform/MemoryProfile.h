#pragma once

#include "platform/IProfile.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace tessara {

// A profile kept in memory, for tests: starts empty, or from given values.
class MemoryProfile : public IProfile {
public:
    int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) override;
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue = {}) override;
    bool WriteProfileInt(std::string_view section, std::string_view key, int value) override;
    bool WriteProfileString(std::string_view section, std::string_view key,
                            std::string_view value) override;

    // For tests that check what was stored.
    bool Contains(std::string_view section, std::string_view key) const;
    std::size_t Size() const;

private:
    using Key = std::pair<std::string, std::string>;
    mutable std::mutex m_mutex;
    std::map<Key, std::string> m_values;
};

} // namespace tessara

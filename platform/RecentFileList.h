#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tessara {

class IProfile;

// The most recently used files, newest first, kept in the profile as
// "Recent File List"/"File1".."FileN".
class RecentFileList {
public:
    static constexpr std::size_t kDefaultSize = 4;

    explicit RecentFileList(IProfile* profile, std::size_t size = kDefaultSize);

    void ReadList();
    bool WriteList() const;

    // Puts path first, dropping an older entry of the same path and the oldest
    // entry beyond the list size.
    void Add(const std::string& path);
    void Remove(std::size_t index);

    const std::vector<std::string>& Entries() const { return m_entries; }
    std::size_t Capacity() const { return m_size; }

private:
    IProfile* m_profile;
    std::size_t m_size;
    std::vector<std::string> m_entries;
};

} // namespace tessara

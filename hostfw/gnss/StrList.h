#pragma once

#include "hostfw/HostTypes.h"

#include <string>
#include <vector>

// A host list file of fixed 25-byte CP932 entries (a name blank-padded to 23 bytes
// and CR LF, or NUL-padded). "List.dat" in the host's "SysVur" folder names the work
// kinds: entry k is the name of work-kind code k.
class HOSTFW_API StrList {
public:
    static constexpr std::size_t kEntryBytes = 25;

    // False when the file is missing or cannot be read (the list is then empty). A
    // last entry cut short is dropped.
    bool Load(const std::string& path);
    // The entry, "" beyond the list.
    std::string Get(int index) const;
    std::size_t Count() const { return m_entries.size(); }

    // "<host system folder>\SysVur\List.dat".
    static std::string WorkKindListPath();

private:
    std::vector<std::string> m_entries;
};

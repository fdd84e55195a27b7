#pragma once

#include "hostfw/HostTypes.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A profile (INI) file in CP932, read and written by the Windows profile rules: the
// first matching section and key win; values are trimmed and one pair of enclosing
// quotes is stripped; comments and other lines are kept as they stand; lines end in
// CRLF when written. Section and key names compare case-insensitively on ASCII letters
// only, after decoding (so "ア" and "ヂ" stay different). A value that does not decode
// from CP932 counts as missing.
class HOSTFW_API IniFile {
public:
    IniFile() = default;

    // Reads path. A missing file gives an empty profile and true; a file that exists
    // but cannot be read answers false with error set.
    bool Load(const std::filesystem::path& path, std::string& error);
    bool Exists() const { return m_existed; }

    std::optional<std::string> Get(const std::string& section, const std::string& key) const;
    // False when the section name, key or value has a character outside CP932.
    bool Set(const std::string& section, const std::string& key, const std::string& value);
    bool Remove(const std::string& section, const std::string& key);

    // Writes the whole file in one atomic replace (sibling temp file, fsync, rename).
    bool Save(const std::filesystem::path& path, std::string& error) const;

private:
    struct Line {
        std::string raw;        // CP932 bytes as read, without the line end
        int section = -1;       // index into m_sections for section headers
        std::string key;        // decoded key (UTF-8), empty for non key lines
        bool isKey = false;
    };
    int FindSection(const std::string& name) const;
    int FindKeyLine(int section, const std::string& key) const;

    std::vector<Line> m_lines;
    std::vector<std::string> m_sections;   // decoded names, in file order
    bool m_existed = false;
};

// Profile calls on a file (one read, and for a write one atomic replace, per call).
// V_GetProfileString answers def when the file, section or key is missing or bad.
HOSTFW_API std::string V_GetProfileString(const std::string& section, const std::string& key,
                                          const std::string& def, const std::string& file);
HOSTFW_API bool V_WriteProfileString(const std::string& section, const std::string& key,
                                     const std::string& value, const std::string& file);
HOSTFW_API bool V_WriteProfileInt(const std::string& section, const std::string& key, int value,
                                  const std::string& file);

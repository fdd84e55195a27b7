#pragma once

#include "hostfw/HostTypes.h"
#include "hostfw/IniFile.h"

#include <filesystem>
#include <string>

// Many writes to one profile file: reads it once, collects the changes and replaces the
// file atomically on Commit. Nothing reaches the disk before Commit.
class HOSTFW_API IniBatchWriter {
public:
    explicit IniBatchWriter(std::filesystem::path path);

    // False when the existing file could not be read (Commit then refuses, so an
    // unreadable file is never overwritten with a partial one).
    bool IsReadable() const { return m_readable; }
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    bool WriteInt(const std::string& section, const std::string& key, int value);
    bool Commit(std::string& error);

private:
    std::filesystem::path m_path;
    IniFile m_file;
    bool m_readable = false;
    bool m_failed = false;
    std::string m_error;
};

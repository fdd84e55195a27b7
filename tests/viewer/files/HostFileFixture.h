#pragma once

#include "HostFileWriter.h"

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

// A scratch folder per test with helpers to drop host files into it.
class HostFileFolder {
public:
    HostFileFolder()
    {
        static int serial = 0;
        m_dir = std::filesystem::temp_directory_path() /
                ("tessara-files-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::create_directories(m_dir);
    }
    ~HostFileFolder() { std::filesystem::remove_all(m_dir); }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        const std::string path = (m_dir / name).string();
        hostfile::SaveBytes(path, bytes);
        return path;
    }
    std::string WriteLayout(const std::string& name, const hostfile::HostFileLayout& layout) const
    {
        std::vector<std::uint8_t> bytes;
        hostfile::WriteHostFile(layout, bytes);
        return Write(name, bytes);
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

private:
    std::filesystem::path m_dir;
};

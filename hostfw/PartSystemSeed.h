#pragma once

#include "hostfw/HostTypes.h"

#include <filesystem>
#include <memory>
#include <string>

class PartSystem;

// Builds a part system and the host's files from a seed (JSON, UTF-8); the format is
// described in docs/ARCHITECTURE.md ("Host framework and plug-ins"). A bad seed is
// refused as a whole with a message naming the entry; nothing is half written into
// the part system (one transaction).
class HOSTFW_API PartSystemSeed {
public:
    // Reads the seed file. False with error for a missing file or bad JSON.
    bool Load(const std::filesystem::path& file, std::string& error);
    bool Parse(const std::string& json, std::string& error);

    // Creates (or replaces) the part-system file at dbFile with the seed's parts,
    // records, answers, conditions and program names, and writes the seed's files
    // (INI and list files) into the host folders. Null with error on failure.
    std::unique_ptr<PartSystem> Apply(const std::filesystem::path& dbFile, std::string& error) const;

    // The seed's "script" entry as JSON text ("" when none), and its "edit" part.
    const std::string& ScriptJson() const { return m_script; }
    const std::string& SeedJson() const { return m_json; }

private:
    std::string m_json;
    std::string m_script;
};

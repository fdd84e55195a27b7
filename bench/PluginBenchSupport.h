#pragma once

// What the control-point and levelling benchmarks share: record rows from values, a
// part system in a file of its own, and making it the host's current one.
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <unistd.h>

#include "hostfw/CVApp.h"
#include "hostfw/PartRecord.h"
#include "hostfw/PartSystem.h"

namespace benchsupport {

inline PartRecord Row(std::initializer_list<FieldValue> fields)
{
    PartRecord r;
    r.Fields().assign(fields.begin(), fields.end());
    return r;
}

// A new part system "<name>-<pid>-<tag>.db" in the temporary folder, its file in file,
// with a transaction begun.
inline std::unique_ptr<PartSystem> OpenBenchPartSystem(const std::string& name, const std::string& tag,
                                                       std::filesystem::path& file, std::string& error)
{
    file = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()) + "-" + tag + ".db");
    std::filesystem::remove(file);
    std::unique_ptr<PartSystem> system = PartSystem::Open(file, true, error);
    system->Begin(error);
    return system;
}

// The host starts afresh with system as its current part system.
inline void MakeCurrent(std::unique_ptr<PartSystem> system)
{
    CVApp& app = CVApp::Instance();
    app.Reset();
    app.SetCurPartSysNo(app.AddPartSystem(std::move(system), "bench"));
}

} // namespace benchsupport

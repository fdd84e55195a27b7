#pragma once

#include "platform/IProfile.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

class QSettings;

namespace tessara {

// The real profile: an INI file in the user's config folder, under the application
// key "Bralden" ($XDG_CONFIG_HOME/Bralden/<application>.ini, ~/.config by default).
// Each write reaches the file at once, so a crash loses nothing already written.
// The first write makes the folder (private to the user) when it is missing. A
// profile that cannot be written is told to the user once, with a message box and
// a log line; every failed write still answers false.
class IniProfile : public IProfile {
public:
    static constexpr const char* kRegistryKey = "Bralden";
    static constexpr const char* kViewerApplication = "QuonEditorView";

    explicit IniProfile(const std::string& application = kViewerApplication);
    // A profile kept in the given file instead (tests, tools).
    static std::unique_ptr<IniProfile> AtPath(const std::string& iniPath);
    ~IniProfile() override;

    int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) override;
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue = {}) override;
    bool WriteProfileInt(std::string_view section, std::string_view key, int value) override;
    bool WriteProfileString(std::string_view section, std::string_view key,
                            std::string_view value) override;

    std::string FilePath() const;

private:
    explicit IniProfile(std::unique_ptr<QSettings> settings);
    bool WriteLocked(std::string_view section, std::string_view key, std::string_view value);
    void ReportWriteFailure();

    mutable std::mutex m_mutex;
    std::atomic<bool> m_failureReported{false};
    std::unique_ptr<QSettings> m_settings;
};

} // namespace tessara

#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tessara {

// The application profile: values by section and key, as the viewer's settings,
// export options and attribute texts are kept between runs. Implementations are
// safe to call from any thread.
class IProfile {
public:
    virtual ~IProfile() = default;

    // The stored int, or defaultValue when the key is missing or not an integer.
    virtual int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) = 0;
    // The stored text, or defaultValue when the key is missing.
    virtual std::string GetProfileString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue = {}) = 0;
    virtual bool WriteProfileInt(std::string_view section, std::string_view key, int value) = 0;
    virtual bool WriteProfileString(std::string_view section, std::string_view key,
                                    std::string_view value) = 0;

    // Doubles are stored as text: the shortest C-locale text that reads back as the
    // same double ("0.1", "1e-07"). Older files hold six-decimal text ("0.500000"),
    // which reads as well. An empty or unreadable text gives defaultValue.
    double GetProfileDouble(std::string_view section, std::string_view key, double defaultValue);
    bool WriteProfileDouble(std::string_view section, std::string_view key, double value);
};

// The process's profile, or null before one is installed (steps that need it are then
// skipped and readers take their defaults). The program installs an IniProfile at
// start-up; tests install a MemoryProfile.
IProfile* AppProfile();
void SetAppProfile(std::shared_ptr<IProfile> profile);

} // namespace tessara

#include "platform/IProfile.h"

#include "platform/Numbers.h"

#include <mutex>

namespace tessara {
namespace {

std::mutex g_appProfileMutex;
std::shared_ptr<IProfile> g_appProfile;

} // namespace

double IProfile::GetProfileDouble(std::string_view section, std::string_view key, double defaultValue)
{
    const std::string text = GetProfileString(section, key);
    if (text.empty()) {
        return defaultValue;
    }
    return ParseDouble(text).value_or(defaultValue);
}

bool IProfile::WriteProfileDouble(std::string_view section, std::string_view key, double value)
{
    return WriteProfileString(section, key, ShortestText(value));
}

IProfile* AppProfile()
{
    const std::lock_guard lock(g_appProfileMutex);
    return g_appProfile.get();
}

void SetAppProfile(std::shared_ptr<IProfile> profile)
{
    const std::lock_guard lock(g_appProfileMutex);
    g_appProfile = std::move(profile);
}

} // namespace tessara

#pragma once

#include "outside/OutsideTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessara {
class IProfile;
}

// One gradation stop: a level 0..255 and its colour. Its stored form is 5 bytes
// (the level, then the COLORREF); in memory it is kept aligned, so references to
// its colour are safe.
struct ColorConf {
    std::uint8_t level = 0;
    COLORREF color = 0;
};

// The named height-colour gradations: three built-in settings (ids 1 to 3, first in
// the list, read-only) and the user's (ids from 4), the current choice, and their
// persistence in the profile. Stops are kept in descending level order with stops
// at 255 and 0.
class CGradationSetting {
public:
    struct Setting {
        std::string name;            // UTF-8
        std::int32_t count = 0;      // number of stops, kept equal to stops.size()
        std::vector<ColorConf> stops;
        std::int16_t id = 0;
    };

    static constexpr std::int16_t kFirstUserId = 4;

    CGradationSetting();

    // Replaces the settings with the built-in ones and those stored in the
    // profile; the current setting is the stored id when it exists, else the
    // first. Damaged stored entries are skipped. Returns the number of user
    // settings read.
    int LoadGradationSetting(tessara::IProfile& profile);
    // The same from the application profile (built-ins only while there is none).
    int LoadGradationSetting();
    // Stores every user setting and the current id. Returns 1 when written.
    int SaveGradationSetting(tessara::IProfile& profile) const;
    int SaveGradationSetting() const;
    // Stores the user settings and the current id after a registration (the same
    // record as SaveGradationSetting). Returns 1 when written.
    int SaveCurSetting(tessara::IProfile& profile) const;
    int SaveCurSetting() const;
    // Removes the current setting unless it is built in; the current index then
    // moves to the setting before it (the last built-in one at least). Returns 1
    // when a setting was removed.
    int EraseCurSetting();
    // The current stop list, or null when there is none.
    const std::vector<ColorConf>* GetCurColorConf() const;
    // Appends a user setting with the next free id; returns its index.
    int AddSetting(const std::string& name, const std::vector<ColorConf>& stops);
    // Restores descending order, the fixed stops at 255 and 0 and the count.
    static void NormaliseStops(std::vector<ColorConf>& stops);
    static bool IsBuiltInId(std::int16_t id) { return id >= 1 && id < kFirstUserId; }

    std::int16_t m_nCurId = 1;
    std::uint16_t m_nCurIndex = 0;
    std::vector<Setting> m_settings;

private:
    void ResetToBuiltIns();
};

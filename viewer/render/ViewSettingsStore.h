#pragma once

struct ViewSettings;

namespace tessara {
class IProfile;
}

// Reads and writes the view's settings in the profile section "SectionGlView".
// Values out of their range (indexes, divisors, sizes, limits) and text that is
// not a number read as the field's default, so a damaged profile cannot reach
// the drawing code; doubles are written in the C locale with full precision.
class ViewSettingsStore {
public:
    static constexpr const char* kSection = "SectionGlView";

    //! Fills the record and the view's two profile fields; missing keys keep their defaults.
    static void Load(tessara::IProfile& profile, ViewSettings& settings, short& pointColourMode,
                     int& newGroupOnRegister);
    //! Writes the same keys back ("ViewPointColor" and the gradation store are not written).
    static void Save(tessara::IProfile& profile, const ViewSettings& settings, short pointColourMode,
                     int newGroupOnRegister);
    //! The single point colour of the legacy "ViewPointColor" index.
    static unsigned LegacyPointColour(int index);
};

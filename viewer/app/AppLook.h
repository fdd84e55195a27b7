#pragma once

#include <QPalette>

// The frame's look ("ApplicationLook", command ids 205 to 219) as our own palettes.
// 210 is the default; an id outside 205..219 keeps the current Office 2007 style,
// and is written back unchanged.
class AppLook {
public:
    static constexpr unsigned kDefaultLook = 210;
    static constexpr const char* kProfileSection = "Workspace";
    static constexpr const char* kProfileKey = "ApplicationLook";

    //! The palette of a look id; office2007Style is the style that 211..218 and unknown
    //! ids use (215..218 set it).
    static QPalette PaletteFor(unsigned id, int& office2007Style);
};

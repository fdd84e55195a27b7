#pragma once

#include <functional>

// The warning sound of a refused key. It goes through one replaceable function
// so tests can count the beeps; the default rings the application's bell.
class BeepHook {
public:
    static void Beep();
    //! Installs fn (empty: the bell again) and returns the previous function.
    static std::function<void()> Set(std::function<void()> fn);
};

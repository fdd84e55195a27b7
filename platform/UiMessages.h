#pragma once

#include "platform/UiMessageTarget.h"

#include <cstdint>
#include <optional>

namespace tessara {

// First id of the window objects' own messages; the view's handlers take WM_USER+100
// to WM_USER+108.
inline constexpr unsigned WM_USER = 0x0400;

// Blocks until the target's handler has run on the UI thread (a direct call when
// already on it); nullopt when the target is shutting down.
std::optional<std::intptr_t> SendUiMessage(UiMessageTarget& target, unsigned message, std::uintptr_t wParam,
                                           std::intptr_t lParam);

// Queues the message for the target's UI thread; false when it is shutting down.
bool PostUiMessage(UiMessageTarget& target, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

// Runs the events waiting for the calling thread (paint, input, posted messages) and
// returns: long work on the UI thread calls it so the window stays alive and the
// abort button can be pressed.
void PumpPendingEvents();

} // namespace tessara

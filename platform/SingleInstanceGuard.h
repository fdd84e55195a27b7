#pragma once

#include "platform/UniqueFd.h"

#include <string>

namespace tessara {

// A named guard held by one process of this user at a time, as the viewer refuses a
// second copy of itself ("QuonEditorView.exe"). An exclusive flock on a lock file in
// the runtime folder: the system releases it when the holder ends, however it ends.
class SingleInstanceGuard {
public:
    static constexpr const char* kViewerName = "QuonEditorView.exe";

    explicit SingleInstanceGuard(const std::string& name);

    // True when another holder has the guard (this object then holds nothing).
    bool AlreadyExists() const { return m_alreadyExists; }
    // True when this object holds the guard.
    bool Held() const { return m_lock.Valid(); }

private:
    UniqueFd m_lock;
    bool m_alreadyExists = false;
};

} // namespace tessara

#pragma once

#include <optional>
#include <string>

namespace tessara {

// The user's private folder for pipe sockets and lock files, without a trailing '/':
// $TESSARA_PIPE_DIR when set (tests), else $XDG_RUNTIME_DIR/tessara, else "run" in
// the private temp folder. Made 0700 when missing. A folder owned by someone else,
// open to others or not a real folder is refused: nullopt, with the reason in *error.
std::optional<std::string> RuntimeFolder(std::string* error = nullptr);

// True for a real folder (not a link) owned by this user and closed to everyone else.
bool IsPrivateFolder(const std::string& path);

} // namespace tessara

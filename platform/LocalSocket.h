#pragma once

// The Unix-socket service under the named pipes: a pipe name maps to a socket in the
// user's private runtime folder.
#include "platform/LocalSocketServer.h"
#include "platform/LocalSocketStream.h"
#include "platform/SocketInterrupter.h"
#include "platform/SocketWait.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessara {

// "\\.\PIPE\ORVANE_SendMessage2" -> "<runtime folder>/ORVANE_SendMessage2". The prefix
// is optional and its letter case ignored; characters other than letters, digits,
// '.', '_' and '-' become '_'. nullopt (with the reason in *error) when the runtime
// folder is refused or the path would not fit a socket address.
std::optional<std::string> LocalSocketPath(std::string_view pipeName, std::string* error = nullptr);

} // namespace tessara

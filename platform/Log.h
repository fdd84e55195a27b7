#pragma once

#include <functional>
#include <string_view>

namespace tessara {

// The program's one log channel: a line on standard error ("tessara: " and the
// text), written whole even when threads log at once. printf-style formatting
// in the C locale's rules; the line ends by itself.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

//! Sends the lines (without prefix and line end) to sink instead; null restores
//! standard error. Returns the previous sink. For tests.
using LogSink = std::function<void(std::string_view line)>;
LogSink SetLogSink(LogSink sink);

} // namespace tessara

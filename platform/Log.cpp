#include "platform/Log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>
#include <utility>

namespace tessara {
namespace {

std::mutex g_logMutex;
LogSink g_sink;

} // namespace

void Log(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line;
    if (size > 0) {
        line.resize(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(line.data(), line.size(), format, args);
        line.resize(static_cast<std::size_t>(size));
    }
    va_end(args);
    const std::lock_guard lock(g_logMutex);
    if (g_sink) {
        g_sink(line);
        return;
    }
    const std::string whole = "tessara: " + line + "\n";
    std::fwrite(whole.data(), 1, whole.size(), stderr);
    std::fflush(stderr);
}

LogSink SetLogSink(LogSink sink)
{
    const std::lock_guard lock(g_logMutex);
    return std::exchange(g_sink, std::move(sink));
}

} // namespace tessara

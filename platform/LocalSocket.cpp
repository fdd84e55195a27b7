#include "platform/LocalSocket.h"

#include "platform/RuntimeFolder.h"

#include <sys/un.h>

namespace tessara {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(prefix[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> LocalSocketPath(std::string_view pipeName, std::string* error)
{
    constexpr std::string_view kPrefix = "\\\\.\\pipe\\";
    if (StartsWithNoCase(pipeName, kPrefix)) {
        pipeName.remove_prefix(kPrefix.size());
    }
    if (pipeName.empty()) {
        if (error) {
            *error = "empty pipe name";
        }
        return std::nullopt;
    }
    std::string name;
    for (const char c : pipeName) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '_' || c == '-';
        name.push_back(plain ? c : '_');
    }
    if (name.front() == '.') {
        name.front() = '_';
    }
    const auto folder = RuntimeFolder(error);
    if (!folder) {
        return std::nullopt;
    }
    std::string path = *folder + '/' + name;
    if (path.size() >= sizeof(sockaddr_un{}.sun_path)) {
        if (error) {
            *error = "socket path too long: " + path;
        }
        return std::nullopt;
    }
    return path;
}

} // namespace tessara

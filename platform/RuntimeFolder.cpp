#include "platform/RuntimeFolder.h"

#include "platform/Files.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace tessara {

bool IsPrivateFolder(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & 077) == 0;
}

std::optional<std::string> RuntimeFolder(std::string* error)
{
    std::string folder;
    const char* overridden = std::getenv("TESSARA_PIPE_DIR");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (overridden && overridden[0] != '\0') {
        folder = overridden;
    } else if (runtime && runtime[0] == '/') {
        folder = std::string(runtime) + "/tessara";
    } else {
        const std::string temp = TempFolder();
        if (temp.empty()) {
            if (error) {
                *error = "no private temporary folder";
            }
            return std::nullopt;
        }
        folder = temp + "run";
    }
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        if (error) {
            *error = "cannot create " + folder;
        }
        return std::nullopt;
    }
    if (!IsPrivateFolder(folder)) {
        if (error) {
            *error = folder + " is not a folder of this user closed to others";
        }
        return std::nullopt;
    }
    return folder;
}

} // namespace tessara

#include "platform/Files.h"

#include "platform/RuntimeFolder.h"
#include "platform/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace tessara {
namespace {

std::string TempBase()
{
    const char* tmpdir = std::getenv("TMPDIR");
    std::string base = (tmpdir && tmpdir[0] == '/') ? tmpdir : "/tmp";
    while (base.size() > 1 && base.back() == '/') {
        base.pop_back();
    }
    return base;
}

// When the usual name is taken by someone else, one fresh folder per base serves the
// rest of the process.
std::string FallbackFolder(const std::string& base)
{
    static std::mutex mutex;
    static std::map<std::string, std::string> made;
    const std::lock_guard lock(mutex);
    const auto it = made.find(base);
    if (it != made.end() && IsPrivateFolder(it->second)) {
        return it->second;
    }
    std::string pattern = base + "/tessara-" + std::to_string(::getuid()) + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        return {};
    }
    made[base] = pattern;
    return pattern;
}

bool EndsWithExtension(const std::string& name, std::string_view ext)
{
    if (!ext.empty() && ext.front() == '.') {
        ext.remove_prefix(1);
    }
    if (ext.empty()) {
        return true;
    }
    if (name.size() <= ext.size() || name[name.size() - ext.size() - 1] != '.') {
        return false;
    }
    return std::equal(ext.begin(), ext.end(), name.end() - static_cast<std::ptrdiff_t>(ext.size()),
                      [](char a, char b) {
                          const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
                          return lower(a) == lower(b);
                      });
}

std::string PrivateFolderIn(const std::string& base)
{
    const std::string folder = base + "/tessara-" + std::to_string(::getuid());
    const bool made = ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
    return made && IsPrivateFolder(folder) ? folder : FallbackFolder(base);
}

} // namespace

std::string TempFolder()
{
    const std::string base = TempBase();
    std::string folder = PrivateFolderIn(base);
    if (folder.empty() && base != "/tmp") {
        folder = PrivateFolderIn("/tmp");    // TMPDIR names a folder we cannot use
    }
    return folder.empty() ? folder : folder + '/';
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeFolders(const std::string& folder)
{
    if (folder.empty()) return false;
    if (FolderExists(folder)) return true;
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash))) return false;
    return (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) && FolderExists(path);
}

bool DeleteFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

bool CopyFileOver(const std::string& from, const std::string& to)
{
    const UniqueFd file(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    const int in = file.Get();
    if (in < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(in, &info) != 0 || S_ISDIR(info.st_mode)) {
        return false;
    }
    AtomicFileWriter writer(to);
    if (!writer.Open()) {
        return false;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;    // the writer removes its temporary file
        }
        if (got == 0) {
            break;
        }
        if (!writer.Write(buffer, static_cast<std::size_t>(got))) {
            return false;
        }
    }
    return writer.Commit();
}

bool RenameOver(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) == 0) {
        return true;
    }
    if (errno != EXDEV) {
        return false;
    }
    if (!CopyFileOver(from, to)) {
        return false;
    }
    ::unlink(from.c_str());
    return true;
}

std::optional<std::uint64_t> FreeBytes(const std::string& path)
{
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.f_bavail) * static_cast<std::uint64_t>(info.f_frsize);
}

std::vector<FileEntry> ListFiles(const std::string& folder, std::string_view ext)
{
    std::vector<FileEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) {
        return entries;
    }
    const std::string prefix = (!folder.empty() && folder.back() == '/') ? folder : folder + '/';
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || !EndsWithExtension(name, ext)) {
            continue;
        }
        struct stat info {};
        const std::string path = prefix + name;
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            continue;
        }
        FileEntry file;
        file.name = name;
        file.path = path;
        file.sizeBytes = static_cast<std::uint64_t>(info.st_size);
        file.lastWrite = std::chrono::system_clock::time_point(
            std::chrono::duration_cast<std::chrono::system_clock::duration>(
                std::chrono::seconds(info.st_mtim.tv_sec) + std::chrono::nanoseconds(info.st_mtim.tv_nsec)));
        entries.push_back(std::move(file));
    }
    std::sort(entries.begin(), entries.end(),
              [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
    return entries;
}

bool AtomicWriteFile(const std::string& path, std::string_view bytes)
{
    AtomicFileWriter writer(path);
    return writer.Open() && writer.Write(bytes) && writer.Commit();
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    const int fd = file.Get();
    if (fd < 0) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace tessara

#pragma once

#include "platform/AtomicFileWriter.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessara {

// File services. Paths are UTF-8 text.

// The user's private temporary folder, ending in '/': "<TMPDIR or /tmp>/tessara-<uid>/",
// made 0700 when missing. A folder of that name owned by someone else, open to others
// or not a real folder is never used; a fresh private folder is made instead. The
// viewer's temporary files, undo snapshots and texture copies live here. Empty only
// when no private folder can be made at all.
std::string TempFolder();

// True when a file (or any other non-folder entry) exists at path.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Makes folder and every missing folder above it, each new one private to the
// user (0700); folders that exist keep their mode. True when folder exists
// afterwards.
bool MakeFolders(const std::string& folder);

// Removes a file; false when it did not exist or could not be removed.
bool DeleteFile(const std::string& path);

// Copies from over to (replacing it atomically); false leaves to as it was.
bool CopyFileOver(const std::string& from, const std::string& to);

// Moves from to to, replacing to; works across file systems by copying. False leaves
// both as they were.
bool RenameOver(const std::string& from, const std::string& to);

// Bytes available to the user on the file system holding path (statvfs).
std::optional<std::uint64_t> FreeBytes(const std::string& path);

struct FileEntry {
    std::string name;     // file name only
    std::string path;     // folder + name
    std::uint64_t sizeBytes = 0;
    std::chrono::system_clock::time_point lastWrite;
};

// Regular files of folder whose extension matches ext ("tpf" or ".tpf", letter case
// ignored; empty ext lists all), sorted by name. Empty when the folder is missing.
std::vector<FileEntry> ListFiles(const std::string& folder, std::string_view ext);

// Writes bytes to path through an AtomicFileWriter.
bool AtomicWriteFile(const std::string& path, std::string_view bytes);

// The whole file; nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

} // namespace tessara

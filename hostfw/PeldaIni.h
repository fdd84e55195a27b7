#pragma once

#include "hostfw/HostTypes.h"

#include <filesystem>
#include <string>

// The host's path service. Every folder lies under one data root: the XDG data folder
// ($XDG_DATA_HOME, else ~/.local/share) + "/tessara/parthost", or PARTHOST_DATA_DIR
// when set. Paths are UTF-8 strings without a trailing separator.
//
// Folder codes of GetPeldaPath:
//   0x10003  host system folder ("SysVur" lies in it)      <root>/host
//   0x10004  host folder (delivery settings)                <root>/host
//   0x10009  settings folder (drop-down list files)         <root>/settings
//   0x80000  work folder ("temp_rw.ini")                    <root>/work
// Any other code fails.
class HOSTFW_API PeldaIni {
public:
    static constexpr DWORD kSystemFolder = 0x10003;
    static constexpr DWORD kHostFolder = 0x10004;
    static constexpr DWORD kSettingsFolder = 0x10009;
    static constexpr DWORD kWorkFolder = 0x80000;

    static std::filesystem::path DataRoot();

    // Each answers false (and leaves out empty) when the folder cannot be named.
    static bool GetPeldaPath(DWORD code, std::string& out);
    static bool GetBinderTempPath(std::string& out);          // <root>/binder/temp
    static bool GetBinderCommonDataPath(std::string& out);    // <root>/binder/common
    static bool GetPeldaUserDataRootPath(std::string& out);   // <root>/user
    // Backup path of a binder data file: <root>/binder/backup/<file name>.
    static bool GetBackFilePath(const std::string& dataFile, std::string& out);
    // Creates the folder and its parents; true when it exists afterwards.
    static bool CreateDir(const std::string& path);
};

// Folder of the current conditions (<root>/binder/conditions).
HOSTFW_API bool GetBndVurPath(std::string& out);

// Joins a folder and a name written the host's way ("\\GPSHYOUKA.ini", "a\\b.csv"):
// backslashes become path separators and leading ones are dropped.
HOSTFW_API std::string JoinHostPath(const std::string& folder, const std::string& name);

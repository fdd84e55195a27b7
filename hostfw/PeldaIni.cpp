#include "hostfw/PeldaIni.h"

#include <cstdlib>
#include <system_error>

namespace {

std::string Under(const char* relative)
{
    return (PeldaIni::DataRoot() / relative).string();
}

} // namespace

std::filesystem::path PeldaIni::DataRoot()
{
    if (const char* dir = std::getenv("PARTHOST_DATA_DIR"); dir && *dir)
        return std::filesystem::path(dir);
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "tessara" / "parthost";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".local" / "share" / "tessara" / "parthost";
    return std::filesystem::path("parthost-data");
}

bool PeldaIni::GetPeldaPath(DWORD code, std::string& out)
{
    out.clear();
    switch (code) {
    case kSystemFolder:
    case kHostFolder: out = Under("host"); return true;
    case kSettingsFolder: out = Under("settings"); return true;
    case kWorkFolder: out = Under("work"); return true;
    default: return false;
    }
}

bool PeldaIni::GetBinderTempPath(std::string& out)
{
    out = Under("binder/temp");
    return true;
}

bool PeldaIni::GetBinderCommonDataPath(std::string& out)
{
    out = Under("binder/common");
    return true;
}

bool PeldaIni::GetPeldaUserDataRootPath(std::string& out)
{
    out = Under("user");
    return true;
}

bool PeldaIni::GetBackFilePath(const std::string& dataFile, std::string& out)
{
    out.clear();
    const std::filesystem::path name = std::filesystem::path(dataFile).filename();
    if (name.empty())
        return false;
    out = (DataRoot() / "binder" / "backup" / name).string();
    return true;
}

bool PeldaIni::CreateDir(const std::string& path)
{
    if (path.empty())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

bool GetBndVurPath(std::string& out)
{
    out = (PeldaIni::DataRoot() / "binder" / "conditions").string();
    return true;
}

std::string JoinHostPath(const std::string& folder, const std::string& name)
{
    std::string relative = name;
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    const std::size_t first = relative.find_first_not_of('/');
    relative = first == std::string::npos ? std::string() : relative.substr(first);
    if (folder.empty())
        return relative;
    return (std::filesystem::path(folder) / relative).string();
}

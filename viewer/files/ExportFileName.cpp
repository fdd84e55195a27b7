#include "viewer/files/ExportFileName.h"

#include "platform/Files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace exportfile {

const std::vector<Filter>& Filters()
{
    static const std::vector<Filter> filters = {
        {"LAS ファイル (*.las)", ".las"},      {"LAZ ファイル (*.laz)", ".laz"},
        {"XYZ ファイル (*.xyz)", ".xyz"},      {"LAND XML ファイル (*.xml)", ".xml"},
        {"モデルファイル (*.tpf)", ".tpf"},    {"SIMA ファイル (*.sim)", ".sim"},
        {"ビットマップ画像 (*.bmp)", ".bmp"},
    };
    return filters;
}

namespace {

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LowerExtension(const std::string& path)
{
    const std::string name = NameOf(path);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0) return {};
    std::string ext = name.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

}  // namespace

bool IsWrittenExtension(const std::string& path)
{
    const std::string ext = LowerExtension(path);
    const auto& filters = Filters();
    return std::any_of(filters.begin(), filters.end(), [&](const Filter& f) { return ext == f.extension; });
}

std::string ResolvePath(const std::string& folder, const std::string& typed, int filterIndex)
{
    if (typed.empty() || typed.back() == '/') return {};
    std::string path = typed.front() == '/' || folder.empty() ? typed : folder + typed;
    if (!IsWrittenExtension(path)) {
        const auto& filters = Filters();
        const bool known = filterIndex >= 0 && filterIndex < int(filters.size());
        path += filters[std::size_t(known ? filterIndex : kDefaultFilter)].extension;
    }
    return path;
}

std::vector<std::string> ExistingTargets(const std::string& path, bool numbered)
{
    std::vector<std::string> found;
    if (!numbered) {
        if (tessara::FileExists(path)) found.push_back(path);
        return found;
    }
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string name = NameOf(path);
    const std::size_t dot = name.find_last_of('.');
    const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : name.substr(dot);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string file = entry.path().filename().string();
        // base "(" digits ")" ext
        if (file.size() <= base.size() + ext.size() + 2 || file.compare(0, base.size() + 1, base + "(") != 0 ||
            file.compare(file.size() - ext.size() - 1, ext.size() + 1, ")" + ext) != 0)
            continue;
        const std::string digits = file.substr(base.size() + 1, file.size() - base.size() - ext.size() - 2);
        if (std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
            found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::string OverwriteQuestion(const std::string& path)
{
    return "[" + NameOf(path) + "] は既に存在します。\n上書きしますか？";
}

}  // namespace exportfile

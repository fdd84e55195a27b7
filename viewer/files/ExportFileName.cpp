#include "viewer/files/ExportFileName.h"

#include <algorithm>
#include <cctype>

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

std::string OverwriteQuestion(const std::string& path)
{
    return "[" + NameOf(path) + "] は既に存在します。\n上書きしますか？";
}

}  // namespace exportfile

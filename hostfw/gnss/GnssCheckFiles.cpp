#include "hostfw/gnss/GnssCheckFiles.h"

#include "hostfw/PeldaIni.h"
#include "platform/Cp932.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr std::size_t kKzdtRecordBytes = 48;
constexpr std::size_t kShenRecordBytes = 20;
constexpr std::size_t kNameBytes = 16;

std::string CheckFilePath(const char* stem, long workNo)
{
    std::string folder;
    if (!GetBndVurPath(folder)) return {};
    return JoinHostPath(folder, std::string(stem) + std::to_string(workNo) + ".DAT");
}

CheckFileStatus ReadBytes(const std::string& path, std::string& out)
{
    out.clear();
    std::error_code ec;
    if (path.empty()) return CheckFileStatus::Unreadable;
    if (!std::filesystem::exists(path, ec)) return ec ? CheckFileStatus::Unreadable : CheckFileStatus::Ok;
    std::ifstream in(path, std::ios::binary);
    if (!in) return CheckFileStatus::Unreadable;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return CheckFileStatus::Unreadable;
    return CheckFileStatus::Ok;
}

std::string Trim(std::string s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

bool DecodeName(std::string_view bytes, std::string& out)
{
    std::string raw(bytes);
    raw.erase(std::find(raw.begin(), raw.end(), '\0'), raw.end());
    const auto text = tessara::FromCp932(tessara::Cp932Bytes::FromBytes(raw));
    if (!text) return false;
    out = Trim(*text);
    return true;
}

}  // namespace

std::string FilePathOfKzdtChk(long workNo)
{
    return CheckFilePath("KZDTCHK", workNo);
}

std::string FilePathOfShenChk(long workNo)
{
    return CheckFilePath("SHENCHK", workNo);
}

CheckFileStatus ReadKzdtChk(const std::string& path, std::vector<KzdtChkRecord>& out)
{
    out.clear();
    std::string bytes;
    if (const CheckFileStatus s = ReadBytes(path, bytes); s != CheckFileStatus::Ok) return s;
    if (bytes.size() % kKzdtRecordBytes != 0) return CheckFileStatus::Truncated;
    for (std::size_t at = 0; at < bytes.size(); at += kKzdtRecordBytes) {
        const std::string_view rec(bytes.data() + at, kKzdtRecordBytes);
        KzdtChkRecord r;
        const auto height = tessara::ParseDouble(Trim(std::string(rec.substr(kNameBytes, 16))));
        if (!DecodeName(rec.substr(0, kNameBytes), r.name) || !height) return CheckFileStatus::BadRecord;
        r.knownHeight = *height;
        out.push_back(std::move(r));
    }
    return CheckFileStatus::Ok;
}

CheckFileStatus ReadShenChk(const std::string& path, std::vector<ShenChkRecord>& out)
{
    out.clear();
    std::string bytes;
    if (const CheckFileStatus s = ReadBytes(path, bytes); s != CheckFileStatus::Ok) return s;
    if (bytes.size() % kShenRecordBytes != 0) return CheckFileStatus::Truncated;
    for (std::size_t at = 0; at < bytes.size(); at += kShenRecordBytes) {
        const std::string_view rec(bytes.data() + at, kShenRecordBytes);
        ShenChkRecord r;
        const auto result = tessara::ParseInt(Trim(std::string(rec.substr(kNameBytes, 2))));
        if (!DecodeName(rec.substr(0, kNameBytes), r.name) || !result) return CheckFileStatus::BadRecord;
        r.result = *result;
        out.push_back(std::move(r));
    }
    return CheckFileStatus::Ok;
}

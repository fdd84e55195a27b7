#include "plugins/common/BinderOutput.h"

#include "hostfw/CVApp.h"
#include "hostfw/DocShelf.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/VCabinetDocTable.h"
#include "platform/AtomicFileWriter.h"
#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <sys/stat.h>

namespace plugcommon {

namespace {

constexpr const char* kDocumentInvalid = "ドキュメントの管理情報が不正です。";

std::string Format(const char* format, const std::string& a, const std::string& b = {},
                   const std::string& c = {})
{
    std::string out = format;
    for (const std::string* arg : {&a, &b, &c}) {
        const std::size_t at = out.find("%s");
        if (at == std::string::npos)
            break;
        out.replace(at, 2, *arg);
    }
    return out;
}

void ReportCopyFailure(int error, const std::string& source, const std::string& target)
{
    HostMessageBox(CopyFailureMessage(error, source, target), "確認", kMbOk | kMbIconHand);
}

// Asks the binder's library whether the data file is a list-file document. A missing
// library answers "no"; a missing function says so and answers "no".
bool IsListFileDocument(const std::string& dataFile)
{
    void* library = nullptr;
    const std::filesystem::path beside = CVApp::Instance().PluginDataDir() / kDocShelfLibrary;
    if (!CVApp::Instance().PluginDataDir().empty())
        library = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        library = dlopen(kDocShelfLibrary, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return false;
    auto function = reinterpret_cast<IsListFileDocmetFn>(dlsym(library, kIsListFileDocmetName));
    bool answer = false;
    if (!function)
        HostMessageBox("関数が見つかりません。(IsListFileDocmet@docshelf.dll)", "確認", kMbOk | kMbIconHand);
    else
        answer = function(dataFile.c_str()) != 0;
    dlclose(library);
    return answer;
}

} // namespace

std::string CopyFailureMessage(int error, const std::string& source, const std::string& target)
{
    if (error == EROFS || error == EACCES || error == EPERM)
        return Format("出力先が書き込み禁止になっています。\n[%s]", target);
    if (error == ENOSPC || error == EDQUOT)
        return Format("出力先に空き容量がありません。\n[%s]", target);
    return Format("出力ファイルのテンポラリからのコピーに失敗しました。(%s)\nコピー元：[%s]\nコピー先：[%s]",
                  std::to_string(error), source, target);
}

int CopyOutputFromTemp(const std::string& source, const std::string& target)
{
    errno = 0;
    const std::optional<std::string> bytes = tessara::ReadWholeFile(source);
    if (!bytes) {
        ReportCopyFailure(errno ? errno : ENOENT, source, target);
        return 0;
    }
    // Sibling temp file and rename: a failed copy leaves the binder file as it was.
    tessara::AtomicFileWriter writer(target);
    errno = 0;
    if (!writer.Open()) {
        ReportCopyFailure(errno, source, target);
        return 0;
    }
    errno = 0;
    if (!writer.Write(*bytes)) {
        const int error = errno;
        writer.Discard();
        ReportCopyFailure(error, source, target);
        return 0;
    }
    errno = 0;
    if (!writer.Commit()) {
        ReportCopyFailure(errno, source, target);
        return 0;
    }
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && !(info.st_mode & S_IWUSR))
        ::chmod(target.c_str(), (info.st_mode & 07777) | S_IWUSR);
    return 1;
}

int BackupDataFile(VCabinetDocTable& table, const FieldValue& documentId)
{
    std::string dataFile;
    std::string backup;
    if (!table.GetDataFilePath(documentId, dataFile) || !PeldaIni::GetBackFilePath(dataFile, backup)) {
        HostMessageBox(kDocumentInvalid, "確認", kMbOk | kMbIconHand);
        return 0;
    }
    if (tessara::FileExists(backup))
        return 1;
    if (!IsListFileDocument(dataFile))
        return 1;
    const std::string folder = std::filesystem::path(backup).parent_path().string();
    const std::optional<std::string> bytes = tessara::ReadWholeFile(dataFile);
    if (!PeldaIni::CreateDir(folder) || !bytes || !tessara::AtomicWriteFile(backup, *bytes)) {
        HostMessageBox("ﾃﾞｰﾀﾌｧｲﾙのﾊﾞｯｸｱｯﾌﾟが出来ません\nﾃﾞｨｽｸを開放して再度試して下さい。", "確認",
                       kMbOk | kMbIconHand);
        return 0;
    }
    return 1;
}

bool IsVariantBlank(const FieldValue& value)
{
    if (std::holds_alternative<std::monostate>(value))
        return true;
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return *number == 0;
    return false;
}

} // namespace plugcommon

#include "plugins/common/CsvWriter.h"

#include "hostfw/HostMessages.h"
#include "platform/AtomicFileWriter.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

namespace plugcommon {

namespace {

constexpr const char* kErrorCaption = "エラーメッセージ";

} // namespace

CsvWriter::CsvWriter(bool showMessages) : m_showMessages(showMessages) {}

CsvWriter::~CsvWriter()
{
    if (m_open)
        Discard();
}

int CsvWriter::Open(const std::string& path)
{
    m_path = path;
    m_bytes.clear();
    m_open = false;
    if (path.empty())
        return kOpenError;
    // The folder must take a new file now, as the text-mode open would check.
    tessara::AtomicFileWriter probe(path);
    if (!probe.Open())
        return kOpenError;
    probe.Discard();
    m_open = true;
    return kNoError;
}

std::string CsvWriter::CleanValue(const std::string& value)
{
    std::string out;
    out.reserve(value.size() + 8);
    for (char c : value) {
        if (c == '\r' || c == '\n')
            continue;
        if (c == '"')
            out += '"';
        out += c;
    }
    return out;
}

int CsvWriter::WriteValueLine(const std::string& prefix, const std::string& field, const std::string& value)
{
    return WriteLine(prefix + field + "\"" + CleanValue(value) + "\"");
}

int CsvWriter::WriteFieldLine(const std::string& field, const std::string& value)
{
    return WriteLine(field + "\"" + CleanValue(value) + "\"");
}

int CsvWriter::WriteElementLine(const std::string& prefix, int element, const std::string& field,
                                const std::string& value)
{
    return WriteLine(prefix + std::to_string(element) + field + "\"" + CleanValue(value) + "\"");
}

int CsvWriter::WriteLine(const std::string& line)
{
    if (!m_open || line.empty())
        return kWriteError;
    const std::optional<tessara::Cp932Bytes> bytes = tessara::ToCp932(line);
    if (!bytes || bytes->Bytes().size() > kLongestLineBytes)
        return kWriteError;
    m_bytes += bytes->Bytes();
    m_bytes += "\r\n";
    return kNoError;
}

bool CsvWriter::Close()
{
    if (!m_open)
        return false;
    tessara::AtomicFileWriter writer(m_path);
    if (!writer.Open() || !writer.Write(m_bytes) || !writer.Commit()) {
        Abort(kWriteError);
        return false;
    }
    m_open = false;
    m_bytes.clear();
    return true;
}

void CsvWriter::Discard()
{
    m_open = false;
    m_bytes.clear();
    if (!m_path.empty())
        tessara::DeleteFile(m_path);
}

void CsvWriter::Abort(int kind)
{
    const char* text = kind == kOpenError    ? "オープンエラーが発生しました"
                       : kind == kWriteError ? "ライトエラーが発生しました"
                       : kind == kCoordinateError ? "座標データエラーが発生しました"
                                                  : nullptr;
    if (text && m_showMessages)
        HostMessageBox(text, kErrorCaption, kMbOk | kMbTaskModal);
    Discard();
}

int CsvWriter::Fail(int kind)
{
    Abort(kind);
    return kind;
}

} // namespace plugcommon

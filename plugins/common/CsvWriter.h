#pragma once

#include "hostfw/HostTypes.h"

#include <cstddef>
#include <string>

namespace plugcommon {

// The metadata CSV output of one carrier: lines are UTF-8 in memory and written as CP932
// with CRLF; the file appears only when Close succeeds (sibling temp file, fsync,
// rename). Values are quoted with embedded quotes doubled and CR/LF removed. A line is
// made in a buffer of kLineBufferBytes with its line feed and terminator: a longer one
// is a write error, never cut and never let past. With messages on, an open or write error shows
// "オープンエラーが発生しました" / "ライトエラーが発生しました" and discards the file.
class CsvWriter {
public:
    enum Error { kNoError = 0, kOpenError = 1, kWriteError = 2, kCoordinateError = 3 };
    static constexpr std::size_t kLineBufferBytes = 512;
    // The longest line text (CP932 bytes) the buffer takes beside "\n" and the terminator.
    static constexpr std::size_t kLongestLineBytes = kLineBufferBytes - 2;

    explicit CsvWriter(bool showMessages = true);
    ~CsvWriter();   // discards an output that was not closed
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    // Opens path for writing; kOpenError when its folder cannot take the file.
    int Open(const std::string& path);
    bool IsOpen() const { return m_open; }
    const std::string& Path() const { return m_path; }

    // %s%s"%s": prefix, tag-and-label field, quoted value.
    int WriteValueLine(const std::string& prefix, const std::string& field, const std::string& value);
    // %s"%s": a whole path-and-label field, quoted value.
    int WriteFieldLine(const std::string& field, const std::string& value);
    // %s%d%s"%s": element prefix, element number, element field, quoted value.
    int WriteElementLine(const std::string& prefix, int element, const std::string& field,
                         const std::string& value);
    // A line as it stands; kWriteError for an empty line, one not encodable in CP932 or
    // one longer than kLongestLineBytes.
    int WriteLine(const std::string& line);

    // Writes the file; false (after the write-error message) when it could not.
    bool Close();
    // Drops the output and deletes the file at the path.
    void Discard();
    // Shows the kind's message (1 open, 2 write, 3 coordinate data), then discards.
    void Abort(int kind);

    // The value as it goes between the quotes.
    static std::string CleanValue(const std::string& value);

private:
    int Fail(int kind);

    bool m_showMessages;
    bool m_open = false;
    std::string m_path;
    std::string m_bytes;   // CP932 output so far
};

} // namespace plugcommon

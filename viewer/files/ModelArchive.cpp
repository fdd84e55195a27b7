#include "viewer/files/ModelArchive.h"

#include "platform/Parallel.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

#ifdef TESSARA_SMALL_READ_BUFFERS
// Test builds (fuzzing, replay): buffers of a few bytes, so that small files run
// through every refill and every block boundary.
constexpr std::size_t kBufferBytes = 64;
constexpr std::size_t kRecordBlockBytes = 96;
#else
// Large enough that point sections of millions of records cost no system call per value.
constexpr std::size_t kBufferBytes = 4u << 20;
// Blocks in which the parts of a record section read and decode it: small enough to
// stay in a core's cache between the read and the decoding.
constexpr std::size_t kRecordBlockBytes = 512u << 10;
#endif
constexpr std::size_t kText256Bytes = 256;

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The wide form holds UTF-16; stored files expect what the ANSI code page makes of
// it, so a character CP932 cannot hold becomes '?'.
std::string WideToCp932Text(const std::vector<std::uint16_t>& units)
{
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            out += '?';
            continue;
        }
        std::string one;
        AppendUtf8(one, c);
        if (c == 0 || !tessara::ToCp932(one)) {
            out += '?';
        } else {
            out += one;
        }
    }
    return out;
}

}  // namespace

ModelArchive ModelArchive::ForLoading(std::vector<std::uint8_t> bytes)
{
    ModelArchive ar;
    ar.m_storing = false;
    ar.m_end = bytes.size();
    ar.m_buffer = std::move(bytes);
    return ar;
}

ModelArchive ModelArchive::ForLoadingFile(const std::string& path)
{
    ModelArchive ar;
    ar.m_storing = false;
    ar.m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (ar.m_fd < 0 || ::fstat(ar.m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ar.Fail("the file cannot be opened");
        return ar;
    }
    ar.m_fileRest = std::uint64_t(st.st_size);
    ar.m_fileSize = std::uint64_t(st.st_size);
    ar.m_buffer.resize(std::min<std::uint64_t>(kBufferBytes, std::max<std::uint64_t>(st.st_size, 64)));
    return ar;
}

ModelArchive ModelArchive::ForStoring(ByteSink sink)
{
    ModelArchive ar;
    ar.m_storing = true;
    ar.m_sink = std::move(sink);
    ar.m_buffer.resize(kBufferBytes);
    return ar;
}

ModelArchive::ModelArchive(ModelArchive&& other) noexcept { *this = std::move(other); }

ModelArchive& ModelArchive::operator=(ModelArchive&& other) noexcept
{
    if (this != &other) {
        Close();
        m_storing = other.m_storing;
        m_ok = other.m_ok;
        m_reason = std::move(other.m_reason);
        m_fd = std::exchange(other.m_fd, -1);
        m_buffer = std::move(other.m_buffer);
        m_pos = other.m_pos;
        m_end = other.m_end;
        m_fileRest = other.m_fileRest;
        m_fileSize = other.m_fileSize;
        m_sink = std::move(other.m_sink);
    }
    return *this;
}

ModelArchive::~ModelArchive() { Close(); }

void ModelArchive::Close()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

void ModelArchive::Fail(const char* reason)
{
    if (m_ok) {
        m_ok = false;
        m_reason = reason;
    }
    if (!m_storing) {
        m_pos = m_end = 0;
        m_fileRest = 0;
    }
}

bool ModelArchive::Ensure(std::size_t size)
{
    if (m_end - m_pos >= size) return true;
    if (m_fd < 0 || !m_ok) return false;
    std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
    m_end -= m_pos;
    m_pos = 0;
    if (m_buffer.size() < size) m_buffer.resize(size);
    while (m_end < m_buffer.size() && m_fileRest > 0) {
        const std::size_t want = std::min<std::uint64_t>(m_buffer.size() - m_end, m_fileRest);
        const ssize_t got = ::read(m_fd, m_buffer.data() + m_end, want);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            m_fileRest = 0;  // the file shrank or failed under us: what we have is all
            break;
        }
        m_end += std::size_t(got);
        m_fileRest -= std::uint64_t(got);
    }
    return m_end - m_pos >= size;
}

bool ModelArchive::ReadRaw(void* data, std::size_t size)
{
    if (m_ok && Ensure(size)) {
        std::memcpy(data, m_buffer.data() + m_pos, size);
        m_pos += size;
        return true;
    }
    Fail("the file ends early");
    std::memset(data, 0, size);
    return false;
}

void ModelArchive::WriteRaw(const void* data, std::size_t size)
{
    if (!m_ok) return;
    if (m_buffer.size() - m_pos < size && !Flush()) return;
    if (size > m_buffer.size()) {
        if (!m_sink(static_cast<const std::uint8_t*>(data), size)) Fail("the file cannot be written");
        return;
    }
    std::memcpy(m_buffer.data() + m_pos, data, size);
    m_pos += size;
}

bool ModelArchive::Flush()
{
    if (!m_storing) return m_ok;
    if (m_ok && m_pos > 0 && !m_sink(m_buffer.data(), m_pos)) Fail("the file cannot be written");
    m_pos = 0;
    return m_ok;
}

void ModelArchive::Bytes(void* data, std::size_t size)
{
    if (m_storing) {
        WriteRaw(data, size);
    } else {
        ReadRaw(data, size);
    }
}

const std::uint8_t* ModelArchive::ReadSpan(std::size_t size)
{
    if (m_storing || !m_ok) return nullptr;
    if (!Ensure(size)) {
        Fail("the file ends early");
        return nullptr;
    }
    const std::uint8_t* data = m_buffer.data() + m_pos;
    m_pos += size;
    return data;
}

bool ModelArchive::ReadRecordsInParts(std::uint64_t count, std::size_t recordBytes, const RecordDecoder& decode)
{
    if (m_storing || !m_ok) return false;
    if (count == 0) return true;
    if (recordBytes == 0 || count > Remaining() / recordBytes) {
        Fail("the file ends early");
        return false;
    }
    const std::uint64_t total = count * recordBytes;
    // The records start in the buffer (whatever of them was read already) and go on
    // in the file: parts take from the buffer what it holds and read the rest of
    // their range themselves, at its place in the file.
    const std::size_t inBuffer = m_end - m_pos;
    const std::uint8_t* const buffered = m_buffer.data() + m_pos;
    const std::uint64_t startOffset = (m_fileSize - m_fileRest) - inBuffer;
    const std::size_t perBlock = std::max<std::size_t>(1, kRecordBlockBytes / recordBytes);
    std::atomic<bool> refused{false};
    std::atomic<bool> failed{false};
    tessara::ParallelParts(std::size_t(count), [&](std::size_t begin, std::size_t end, std::size_t part) {
        try {
            std::vector<std::uint8_t> block;
            for (std::uint64_t first = begin; first < end;) {
                const std::size_t n = std::size_t(std::min<std::uint64_t>(perBlock, end - first));
                const std::uint64_t from = first * recordBytes;
                const std::size_t bytes = n * recordBytes;
                const std::uint8_t* data = nullptr;
                if (from + bytes <= inBuffer) {
                    data = buffered + from;
                } else {
                    block.resize(perBlock * recordBytes);
                    std::size_t have = 0;
                    if (from < inBuffer) {
                        have = std::size_t(inBuffer - from);
                        std::memcpy(block.data(), buffered + from, have);
                    }
                    while (have < bytes) {
                        const ssize_t got = ::pread(m_fd, block.data() + have, bytes - have,
                                                    off_t(startOffset + from + have));
                        if (got < 0 && errno == EINTR) continue;
                        if (got <= 0) {  // the file shrank or failed under us
                            failed = true;
                            return;
                        }
                        have += std::size_t(got);
                    }
                    data = block.data();
                }
                if (!decode(part, first, data, n)) {
                    refused = true;
                    return;
                }
                first += n;
            }
        } catch (const std::bad_alloc&) {
            failed = true;
        }
    });
    if (refused) return false;
    if (failed) {
        Fail("the file ends early");
        return false;
    }
    if (total <= inBuffer) {
        m_pos += std::size_t(total);
        return true;
    }
    const std::uint64_t next = startOffset + total;
    m_pos = m_end = 0;
    if (::lseek(m_fd, off_t(next), SEEK_SET) < 0) {
        Fail("the file cannot be read");
        return false;
    }
    m_fileRest = m_fileSize - next;
    return true;
}

std::uint64_t ModelArchive::Remaining() const
{
    return m_storing ? 0 : (m_end - m_pos) + m_fileRest;
}

bool ModelArchive::CountFits(std::int64_t count, std::uint64_t bytesEach, const char* what)
{
    if (m_storing) return m_ok;
    if (!m_ok) return false;
    if (count < 0 || (bytesEach > 0 && std::uint64_t(count) > Remaining() / bytesEach)) {
        Fail(what);
        return false;
    }
    return true;
}

void ModelArchive::Skip(std::uint64_t size)
{
    if (m_storing || !m_ok) return;
    if (size > Remaining()) {
        Fail("the file ends early");
        return;
    }
    const std::uint64_t inBuffer = std::min<std::uint64_t>(size, m_end - m_pos);
    m_pos += std::size_t(inBuffer);
    std::uint64_t rest = size - inBuffer;
    if (rest == 0) return;
    if (::lseek(m_fd, off_t(rest), SEEK_CUR) < 0) {
        Fail("the file cannot be read");
        return;
    }
    m_fileRest -= rest;
}

// Prefix: byte < 0xFF; 0xFF + uint16 < 0xFFFE; 0xFF 0xFFFF + uint32 < 0xFFFFFFFF;
// else 0xFF 0xFFFF 0xFFFFFFFF + uint64. 0xFF 0xFFFE marks the wide form and is
// followed by the prefix proper.
void ModelArchive::LengthPrefix(std::uint64_t& length, bool& wide)
{
    if (m_storing) {
        std::uint8_t b = 0xFF;
        if (length < 0xFF) {
            b = std::uint8_t(length);
            U8(b);
            return;
        }
        U8(b);
        std::uint16_t w = 0xFFFF;
        if (length < 0xFFFE) {
            w = std::uint16_t(length);
            U16(w);
            return;
        }
        U16(w);
        std::uint32_t d = 0xFFFFFFFF;
        if (length < 0xFFFFFFFF) {
            d = std::uint32_t(length);
            U32(d);
            return;
        }
        U32(d);
        U64(length);
        return;
    }
    wide = false;
    for (int round = 0; round < 2; ++round) {
        std::uint8_t b = 0;
        U8(b);
        if (b < 0xFF) {
            length = b;
            return;
        }
        std::uint16_t w = 0;
        U16(w);
        if (w == 0xFFFE && round == 0) {
            wide = true;
            continue;
        }
        if (w < 0xFFFE) {
            length = w;
            return;
        }
        if (w == 0xFFFE) break;  // a second wide marker is not a length
        std::uint32_t d = 0;
        U32(d);
        if (d < 0xFFFFFFFF) {
            length = d;
            return;
        }
        U64(length);
        return;
    }
    Fail("a string length is damaged");
    length = 0;
}

void ModelArchive::CountedString(std::string& utf8)
{
    if (m_storing) {
        const auto cp932 = tessara::ToCp932(utf8);
        if (!cp932) {
            Fail("a text cannot be written in CP932");
            return;
        }
        const std::string& bytes = cp932->Bytes();
        std::uint64_t length = bytes.size();
        bool wide = false;
        LengthPrefix(length, wide);
        WriteRaw(bytes.data(), bytes.size());
        return;
    }
    std::uint64_t length = 0;
    bool wide = false;
    LengthPrefix(length, wide);
    utf8.clear();
    if (!CountFits(std::int64_t(std::min<std::uint64_t>(length, INT64_MAX)), wide ? 2 : 1,
                   "a string is shorter than its length says"))
        return;
    if (wide) {
        std::vector<std::uint16_t> units(length);
        for (auto& u : units) U16(u);
        if (m_ok) utf8 = WideToCp932Text(units);
        return;
    }
    std::string bytes(length, '\0');
    ReadRaw(bytes.data(), bytes.size());
    if (!m_ok) return;
    const auto text = tessara::FromCp932(tessara::Cp932Bytes::FromBytes(bytes));
    if (!text) {
        Fail("a text is not valid CP932");
        return;
    }
    utf8 = *text;
}

void ModelArchive::Text256(std::string& utf8)
{
    char field[kText256Bytes] = {};
    if (m_storing) {
        const auto cp932 = tessara::ToCp932(utf8);
        if (!cp932) {
            Fail("a text cannot be written in CP932");
            return;
        }
        const std::size_t keep = tessara::Cp932CutLength(*cp932, kText256Bytes - 1);
        std::memcpy(field, cp932->data(), keep);
        WriteRaw(field, sizeof field);
        return;
    }
    utf8.clear();
    if (!ReadRaw(field, sizeof field)) return;
    // Bytes after the terminator are undefined; a field without one keeps its
    // whole characters within 255 bytes.
    const auto whole = tessara::Cp932Bytes::FromCString(field, sizeof field);
    const auto raw = tessara::Cp932Bytes::FromBytes(
        std::string_view(whole.Bytes()).substr(0, tessara::Cp932CutLength(whole, kText256Bytes - 1)));
    const auto text = tessara::FromCp932(raw);
    if (!text) {
        Fail("a text is not valid CP932");
        return;
    }
    utf8 = *text;
}

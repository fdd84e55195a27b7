#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

// The byte stream of the viewer's model files, undo snapshots and the host's
// exchange files: little-endian primitives without gaps, counted strings, fixed
// texts. One object either stores or loads, and every section is one routine
// that calls the same primitives in both directions, so a layout cannot drift
// between its writer and its reader.
//
// Errors never throw: the first short read, bad string or failed write marks the
// archive failed; later loads give zeros and later stores are dropped. Callers
// test Ok() where a decision depends on it and once at the end.
class ModelArchive {
public:
    // Receives full buffers on storing; false means the bytes could not be written.
    using ByteSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

    // Loading from bytes already in memory.
    static ModelArchive ForLoading(std::vector<std::uint8_t> bytes);
    // Loading from a file through a large buffer; Ok() is false when the file
    // cannot be opened.
    static ModelArchive ForLoadingFile(const std::string& path);
    // Storing through a sink.
    static ModelArchive ForStoring(ByteSink sink);

    ModelArchive(ModelArchive&& other) noexcept;
    ModelArchive& operator=(ModelArchive&& other) noexcept;
    ModelArchive(const ModelArchive&) = delete;
    ModelArchive& operator=(const ModelArchive&) = delete;
    ~ModelArchive();

    bool IsStoring() const { return m_storing; }
    bool IsLoading() const { return !m_storing; }
    bool Ok() const { return m_ok; }
    // Marks the archive failed with a reason (a bad count, a bad index, ...).
    void Fail(const char* reason);
    const std::string& FailureReason() const { return m_reason; }

    // Symmetric primitives: store the value or load into it.
    void U8(std::uint8_t& v) { Value(v); }
    void I16(std::int16_t& v) { Value(v); }
    void U16(std::uint16_t& v) { Value(v); }
    void I32(std::int32_t& v) { Value(v); }
    void U32(std::uint32_t& v) { Value(v); }
    void U64(std::uint64_t& v) { Value(v); }
    void F32(float& v) { Value(v); }
    void F64(double& v) { Value(v); }
    void Bytes(void* data, std::size_t size);

    // Counted string: CP932 bytes on disk (the wide UTF-16 form is accepted on
    // loading), UTF-8 in memory. A text that CP932 cannot hold fails the store.
    void CountedString(std::string& utf8);
    // Fixed 256-byte zero-terminated CP932 text; a longer text is cut on a
    // character boundary when stored.
    void Text256(std::string& utf8);

    // Loading: bytes not yet read. Storing: 0.
    std::uint64_t Remaining() const;
    // Loading: true when count items of at least bytesEach bytes can still
    // follow; otherwise marks the archive failed. Bounds every count before
    // anything is reserved for it.
    bool CountFits(std::int64_t count, std::uint64_t bytesEach, const char* what);
    // Loading: steps over bytes.
    void Skip(std::uint64_t size);
    // Loading: the next size bytes in place (valid until the next call), for
    // sections of many fixed records; null (archive failed) when the file ends.
    const std::uint8_t* ReadSpan(std::size_t size);

    // Decodes a block of n whole records starting at record `first`, for worker part
    // `part` (< tessara::kMaxWorkers of platform/Parallel.h). Returns false at a
    // bad record, which stops that part. Runs on several threads at once, each part
    // on its own range; it must not throw.
    using RecordDecoder =
        std::function<bool(std::size_t part, std::uint64_t first, const std::uint8_t* data, std::size_t n)>;
    // Loading: the next `count` records of `recordBytes` bytes each, split into
    // contiguous parts decoded at once on worker threads, every part reading its
    // own range of the file in blocks. True when every record was accepted (the
    // archive then stands after them). False when decode refused one (the caller
    // fails the archive with its reason) or the file ended early (the archive is
    // failed).
    bool ReadRecordsInParts(std::uint64_t count, std::size_t recordBytes, const RecordDecoder& decode);

    // Storing: writes what is buffered; false when any write failed.
    bool Flush();

private:
    ModelArchive() = default;
    template <class T> void Value(T& v);
    bool Ensure(std::size_t size);
    bool ReadRaw(void* data, std::size_t size);
    void WriteRaw(const void* data, std::size_t size);
    void LengthPrefix(std::uint64_t& length, bool& wide);
    void Close();

    bool m_storing = false;
    bool m_ok = true;
    std::string m_reason;
    int m_fd = -1;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_pos = 0;           // next byte in the buffer
    std::size_t m_end = 0;           // loading: bytes valid in the buffer
    std::uint64_t m_fileRest = 0;    // loading: bytes of the file not yet in the buffer
    std::uint64_t m_fileSize = 0;    // loading from a file: its size when opened
    ByteSink m_sink;
};

template <class T>
void ModelArchive::Value(T& v)
{
    static_assert(std::endian::native == std::endian::little || sizeof(T) == 1,
                  "the archive layout is little-endian");
    if (m_storing) {
        if (m_ok && m_buffer.size() - m_pos >= sizeof(T)) {
            std::memcpy(m_buffer.data() + m_pos, &v, sizeof(T));
            m_pos += sizeof(T);
            return;
        }
        WriteRaw(&v, sizeof(T));
        return;
    }
    if (m_end - m_pos >= sizeof(T)) {
        std::memcpy(&v, m_buffer.data() + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return;
    }
    if (!ReadRaw(&v, sizeof(T))) v = T{};
}

#include "LazPack.h"

#include "ArithmeticEncoder.h"
#include "IntegerCompressor.h"
#include "LazItems.h"
#include "Point10Compressor.h"
#include "Rgb12Compressor.h"

#include "platform/AtomicFileWriter.h"
#include "platform/Parallel.h"

#include <algorithm>
#include <condition_variable>
#include <cmath>
#include <cerrno>
#include <cstring>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lazpack {
namespace {

template <class T>
T At(const std::uint8_t* p, std::size_t offset)
{
    T v;
    std::memcpy(&v, p + offset, sizeof v);
    return v;
}

template <class T>
void Put(std::vector<std::uint8_t>& out, T v)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&v);
    out.insert(out.end(), bytes, bytes + sizeof v);
}

template <class T>
void PutAt(std::vector<std::uint8_t>& out, std::size_t offset, T v)
{
    std::memcpy(out.data() + offset, &v, sizeof v);
}

// The input, read with positioned reads (by several workers at once). A file that
// shrinks under us gives a failed read, not a crash.
class InputFile {
public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    bool Open(const std::string& path, std::string& error)
    {
        m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0) {
            error = "cannot open " + path;
            return false;
        }
        struct stat info {};
        if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            error = path + " is not a regular file";
            return false;
        }
        m_size = static_cast<std::uint64_t>(info.st_size);
        return true;
    }
    std::uint64_t Size() const { return m_size; }
    //! Exactly `size` bytes at `offset`, else false.
    bool ReadAt(std::uint64_t offset, std::size_t size, std::uint8_t* to) const
    {
        while (size > 0) {
            const ssize_t got = ::pread(m_fd, to, size, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            to += got;
            offset += static_cast<std::uint64_t>(got);
            size -= static_cast<std::size_t>(got);
        }
        return true;
    }

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
};

// What the checks of the input found.
struct LasLayout {
    std::uint16_t headerSize = 0;
    std::uint32_t pointOffset = 0;
    std::uint32_t records = 0;     // variable length records
    std::size_t recordsEnd = 0;    // end of the last one (padding after it is dropped)
    std::uint32_t count = 0;
};

// Reads and checks the header and the records before the points into `head`.
bool CheckLas(const InputFile& in, LasLayout& las, std::vector<std::uint8_t>& head, std::string& error)
{
    const std::uint64_t size = in.Size();
    head.assign(kLasHeaderBytes, 0);
    if (size < kLasHeaderBytes || !in.ReadAt(0, kLasHeaderBytes, head.data()) ||
        std::memcmp(head.data(), "LASF", 4) != 0) {
        error = "not a LAS file";
        return false;
    }
    const std::uint8_t* p = head.data();
    if (p[24] != 1 || p[25] != 2) {
        error = "only LAS 1.2 is accepted";
        return false;
    }
    const std::uint8_t format = p[104];
    if ((format & 0xC0) != 0) {
        error = "the points are compressed already";
        return false;
    }
    if (format != 2 || At<std::uint16_t>(p, 105) != kLasRecordBytes) {
        error = "only point format 2 (26-byte records) is accepted";
        return false;
    }
    las.headerSize = At<std::uint16_t>(p, 94);
    las.pointOffset = At<std::uint32_t>(p, 96);
    las.records = At<std::uint32_t>(p, 100);
    las.count = At<std::uint32_t>(p, 107);
    if (las.headerSize < kLasHeaderBytes || las.pointOffset < las.headerSize || las.pointOffset > size) {
        error = "broken header: sizes and offsets do not fit";
        return false;
    }
    for (int d = 0; d < 3; ++d) {
        const double scale = At<double>(p, 131 + 8 * d);
        const double offset = At<double>(p, 155 + 8 * d);
        if (!std::isfinite(scale) || scale == 0.0 || !std::isfinite(offset)) {
            error = "broken header: scale or offset";
            return false;
        }
    }
    if (size - las.pointOffset != std::uint64_t{las.count} * kLasRecordBytes) {
        error = "file size does not match the point count";
        return false;
    }
    head.resize(las.pointOffset);
    if (!in.ReadAt(kLasHeaderBytes, las.pointOffset - kLasHeaderBytes, head.data() + kLasHeaderBytes)) {
        error = "cannot read the header";
        return false;
    }
    p = head.data();
    // The record chain must lie between header and points; each record needs its
    // 54-byte head, so the count is bounded by the bytes there.
    std::size_t at = las.headerSize;
    for (std::uint32_t i = 0; i < las.records; ++i) {
        if (las.pointOffset - at < 54) {
            error = "broken variable length records";
            return false;
        }
        const std::size_t length = At<std::uint16_t>(p, at + 20);
        if (std::memcmp(p + at + 2, "laszip encoded", 14) == 0 && At<std::uint16_t>(p, at + 18) == kLaszipRecordId) {
            error = "the file carries a compression record already";
            return false;
        }
        if (las.pointOffset - at - 54 < length) {
            error = "broken variable length records";
            return false;
        }
        at += 54 + length;
    }
    las.recordsEnd = at;
    return true;
}

std::vector<std::uint8_t> LaszipRecord(std::uint32_t chunkPoints)
{
    std::vector<std::uint8_t> r;
    Put<std::uint16_t>(r, 0);                           // reserved
    char user[16] = "laszip encoded";
    r.insert(r.end(), user, user + 16);
    Put<std::uint16_t>(r, kLaszipRecordId);
    Put<std::uint16_t>(r, 34 + 6 * 2);                  // payload bytes
    char description[32] = "Tessara lazpack";
    r.insert(r.end(), description, description + 32);
    Put<std::uint16_t>(r, 2);                           // compressor: point-wise, chunked
    Put<std::uint16_t>(r, 0);                           // coder: arithmetic
    Put<std::uint8_t>(r, 2);                            // version 2.2.0
    Put<std::uint8_t>(r, 2);
    Put<std::uint16_t>(r, 0);
    Put<std::uint32_t>(r, 0);                           // options
    Put<std::uint32_t>(r, chunkPoints);
    Put<std::int64_t>(r, -1);                           // no special extended records
    Put<std::int64_t>(r, -1);
    Put<std::uint16_t>(r, 2);                           // items
    Put<std::uint16_t>(r, 6), Put<std::uint16_t>(r, 20), Put<std::uint16_t>(r, 2);   // point, v2
    Put<std::uint16_t>(r, 8), Put<std::uint16_t>(r, 6), Put<std::uint16_t>(r, 2);    // colour, v2
    return r;
}

// Codes the chunks on every worker and writes them in order as they complete. At
// most `window` chunks are coded or waiting at any time, which bounds the memory;
// a worker that would run further ahead waits for the writes. A failure (a write,
// or an exception while coding) stops every worker; the first exception is
// rethrown once all are joined.
bool WriteChunks(const InputFile& in, std::uint64_t pointOffset, std::uint32_t count, std::uint32_t chunkPoints,
                 tessara::AtomicFileWriter& out, std::vector<std::uint64_t>& chunkBytes)
{
    const std::size_t chunks = (std::size_t{count} + chunkPoints - 1) / chunkPoints;
    if (chunks == 0) return true;
    const std::size_t workers = std::min(tessara::WorkerCount(), chunks);
    const std::size_t window = workers * 4;
    std::vector<std::vector<std::uint8_t>> slots(window);
    std::vector<char> ready(window, 0);
    chunkBytes.reserve(chunks);

    std::mutex mutex;
    std::condition_variable written;
    std::size_t nextToTake = 0, nextToWrite = 0;
    bool failed = false;
    std::exception_ptr error;

    // Called with the lock held: writes the completed chunks that are next in order.
    // One worker writes at a time, with the lock released during each write so the
    // others go on taking and handing in chunks; a chunk handed in meanwhile is
    // written by the worker already writing. The slot being written cannot be taken
    // again before nextToWrite moves past it (the window).
    bool writing = false;
    const auto writeReady = [&](std::unique_lock<std::mutex>& lock) {
        if (writing) return;
        writing = true;
        while (!failed && nextToWrite < chunks && ready[nextToWrite % window]) {
            const std::size_t slot = nextToWrite % window;
            const std::vector<std::uint8_t>& bytes = slots[slot];
            lock.unlock();
            const bool ok = out.Write(bytes.data(), bytes.size());
            if (ok) out.StartWriteback();   // the disk works while the rest is coded
            lock.lock();
            if (!ok) failed = true;
            chunkBytes.push_back(bytes.size());
            ready[slot] = 0;
            ++nextToWrite;
            written.notify_all();
        }
        writing = false;
        written.notify_all();
    };

    tessara::RunParts(workers, [&](std::size_t) {
        std::vector<std::uint8_t> records;
        std::unique_lock lock(mutex);
        for (;;) {
            written.wait(lock, [&] { return failed || nextToTake >= chunks || nextToTake < nextToWrite + window; });
            if (failed || nextToTake >= chunks) return;
            const std::size_t chunk = nextToTake++;
            std::vector<std::uint8_t>& slot = slots[chunk % window];
            lock.unlock();
            try {
                const std::size_t begin = chunk * chunkPoints;
                const std::size_t n = std::min<std::size_t>(chunkPoints, count - begin);
                records.resize(n * kLasRecordBytes);
                if (!in.ReadAt(pointOffset + begin * kLasRecordBytes, records.size(), records.data())) {
                    throw std::runtime_error("the input changed while it was read");
                }
                slot.clear();
                CompressChunk(records.data(), n, slot);
                lock.lock();
                ready[chunk % window] = 1;
            } catch (...) {
                lock.lock();
                if (!error) error = std::current_exception();
                failed = true;
            }
            writeReady(lock);
        }
    });
    if (error) std::rethrow_exception(error);
    return !failed;
}

} // namespace

void CompressChunk(const std::uint8_t* records, std::size_t count, std::vector<std::uint8_t>& out)
{
    // The first point goes raw, and starts the coders' predictions.
    out.insert(out.end(), records, records + kLasRecordBytes);
    Point10Compressor point(ReadPoint10(records));
    Rgb12Compressor colour(ReadRgb12(records + kPoint10Bytes));
    ArithmeticEncoder enc(out);
    for (std::size_t i = 1; i < count; ++i) {
        const std::uint8_t* r = records + i * kLasRecordBytes;
        point.Compress(enc, ReadPoint10(r));
        colour.Compress(enc, ReadRgb12(r + kPoint10Bytes));
    }
    enc.Done();
}

std::vector<std::uint8_t> ChunkTable(const std::vector<std::uint64_t>& chunkBytes)
{
    std::vector<std::uint8_t> out;
    Put<std::uint32_t>(out, 0);
    Put<std::uint32_t>(out, static_cast<std::uint32_t>(chunkBytes.size()));
    if (chunkBytes.empty()) return out;
    ArithmeticEncoder enc(out);
    IntegerCompressor bytes(32, 2);
    std::uint64_t previous = 0;
    for (const std::uint64_t b : chunkBytes) {
        bytes.Compress(enc, static_cast<std::int32_t>(previous), static_cast<std::int32_t>(b), 1);
        previous = b;
    }
    enc.Done();
    return out;
}

bool CompressLasFile(const std::string& lasPath, const std::string& lazPath, std::string& error,
                     std::uint32_t chunkPoints)
{
    try {
        if (chunkPoints == 0) {
            error = "chunk size 0";
            return false;
        }
        InputFile in;
        LasLayout las;
        std::vector<std::uint8_t> input;
        if (!in.Open(lasPath, error) || !CheckLas(in, las, input, error)) return false;
        const std::uint8_t* p = input.data();

        const std::vector<std::uint8_t> laszip = LaszipRecord(chunkPoints);
        std::vector<std::uint8_t> head(p, p + las.recordsEnd);
        head.insert(head.end(), laszip.begin(), laszip.end());
        if (head.size() > 0xFFFFFFFFu - 8) {
            error = "header and records too large";
            return false;
        }
        PutAt<std::uint32_t>(head, 96, static_cast<std::uint32_t>(head.size()));
        PutAt<std::uint32_t>(head, 100, las.records + 1);
        head[104] = 2 | 0x80;   // point format 2, compressed
        const std::uint64_t tableOffsetAt = head.size();
        Put<std::int64_t>(head, -1);   // chunk table offset, filled in at the end

        tessara::AtomicFileWriter out(lazPath);
        if (!out.Open()) {
            error = "cannot create a file beside " + lazPath;
            return false;
        }
        bool ok = out.Write(head.data(), head.size());
        std::uint64_t written = head.size();

        const std::size_t chunks = (std::size_t{las.count} + chunkPoints - 1) / chunkPoints;
        std::vector<std::uint64_t> chunkBytes;
        ok = ok && WriteChunks(in, las.pointOffset, las.count, chunkPoints, out, chunkBytes);
        for (const std::uint64_t bytes : chunkBytes) written += bytes;
        if (ok && chunkBytes.size() != chunks) ok = false;
        const std::vector<std::uint8_t> table = ChunkTable(chunkBytes);
        const std::int64_t tableOffset = static_cast<std::int64_t>(written);
        ok = ok && out.Write(table.data(), table.size()) &&
             out.WriteAt(tableOffsetAt, &tableOffset, sizeof tableOffset) && out.Commit();
        if (!ok) {
            error = "cannot write " + lazPath;
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        error = std::string("compression failed: ") + e.what();
        return false;
    }
}

} // namespace lazpack

#include "LasConsole.h"

#include "platform/AtomicFileWriter.h"
#include "platform/Parallel.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <limits>
#include <vector>

namespace lasconsole {
namespace {

constexpr std::uint32_t kDumpMagic = 0x40474C56;
constexpr std::uint16_t kDumpVersion = 0x0100;
#ifdef TESSARA_SMALL_READ_BUFFERS
constexpr std::size_t kRecordsPerBlock = 3;   // test builds: small dumps span several blocks
#else
constexpr std::size_t kRecordsPerBlock = 16384;
#endif

template <class T>
T Get(const unsigned char* p)
{
    T value;
    std::memcpy(&value, p, sizeof value);   // the dump is little-endian, as this machine
    return value;
}

template <class T>
void Put(std::vector<unsigned char>& out, T value)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    out.insert(out.end(), bytes, bytes + sizeof value);
}

void PutText(std::vector<unsigned char>& out, const char* text, std::size_t size)
{
    std::array<unsigned char, 32> field{};
    std::memcpy(field.data(), text, std::min(std::strlen(text), size));
    out.insert(out.end(), field.begin(), field.begin() + static_cast<std::ptrdiff_t>(size));
}

struct DumpHeader {
    std::int32_t count = 0;
    double min[3] = {};
    double max[3] = {};
    double scale[3] = {};
    double offset[3] = {};
};

// std::round (halves away from zero) of a value already known to lie strictly
// between -2^31 - 1 and 2^31: the part after the point is exact, and no library
// call per value (ten million points make thirty million of them).
std::int64_t RoundInRange(double value)
{
    const auto whole = static_cast<std::int64_t>(value);   // toward zero
    const double rest = value - static_cast<double>(whole);
    return whole + (rest >= 0.5 ? 1 : 0) - (rest <= -0.5 ? 1 : 0);
}

bool ToInt32(double value, double offset, double scale, std::int32_t& out)
{
    const double q = (value - offset) / scale;
    // round(q) fits int32 exactly when q lies in (-2^31 - 0.5, 2^31 - 0.5); NaN does not.
    if (!(q > -2147483648.5 && q < 2147483647.5)) return false;
    out = static_cast<std::int32_t>(RoundInRange(q));
    return true;
}

// Intensity rounded (halves away from zero) into 0..65535; not a number gives 0.
std::uint16_t IntensityLevel(double intensity)
{
    if (!std::isfinite(intensity) || !(intensity > 0.0)) return 0;
    if (intensity >= 65535.0) return 65535;
    return static_cast<std::uint16_t>(std::min<std::int64_t>(RoundInRange(intensity), 65535));
}

std::vector<unsigned char> LasHeader(const DumpHeader& h)
{
    std::vector<unsigned char> out;
    out.reserve(kLasHeaderBytes);
    out.insert(out.end(), {'L', 'A', 'S', 'F'});
    Put<std::uint16_t>(out, 0);   // file source id
    Put<std::uint16_t>(out, 0);   // global encoding
    for (int i = 0; i < 16; ++i) out.push_back(0);   // project GUID
    out.push_back(1);             // version 1.2
    out.push_back(2);
    PutText(out, "Tessara", 32);
    PutText(out, "lasconsole", 32);
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    Put<std::uint16_t>(out, static_cast<std::uint16_t>(utc.tm_yday + 1));
    Put<std::uint16_t>(out, static_cast<std::uint16_t>(utc.tm_year + 1900));
    Put<std::uint16_t>(out, static_cast<std::uint16_t>(kLasHeaderBytes));
    Put<std::uint32_t>(out, static_cast<std::uint32_t>(kLasHeaderBytes));   // offset to point data
    Put<std::uint32_t>(out, 0);   // variable length records
    out.push_back(2);             // point data format
    Put<std::uint16_t>(out, static_cast<std::uint16_t>(kLasRecordBytes));
    Put<std::uint32_t>(out, static_cast<std::uint32_t>(h.count));
    Put<std::uint32_t>(out, static_cast<std::uint32_t>(h.count));   // all first returns
    for (int i = 0; i < 4; ++i) Put<std::uint32_t>(out, 0);
    for (double s : h.scale) Put(out, s);
    for (double o : h.offset) Put(out, o);
    for (int d = 0; d < 3; ++d) {
        Put(out, h.max[d]);
        Put(out, h.min[d]);
    }
    return out;
}


// The dump, open for reading; closed on every path.
class DumpFile {
public:
    explicit DumpFile(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~DumpFile()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    DumpFile(const DumpFile&) = delete;
    DumpFile& operator=(const DumpFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    std::optional<std::uint64_t> Size() const
    {
        struct stat info {};
        if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
        return static_cast<std::uint64_t>(info.st_size);
    }
    // Exactly size bytes from offset; false on an error or an early end.
    bool ReadAt(std::uint64_t offset, unsigned char* data, std::size_t size) const
    {
        while (size > 0) {
            const ssize_t got = ::pread(m_fd, data, size, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            data += got;
            size -= static_cast<std::size_t>(got);
            offset += static_cast<std::uint64_t>(got);
        }
        return true;
    }

private:
    int m_fd;
};

// Converts `count` dump records into LAS records; the index (within them) of the
// first point that does not fit, with the reason, or none.
std::optional<std::pair<std::size_t, const char*>> ConvertRecords(const DumpHeader& h, const unsigned char* in,
                                                                  std::size_t count, unsigned char* out)
{
    for (std::size_t r = 0; r < count; ++r) {
        // Taken whole first: out may be in itself, the LAS record over the start of
        // the dump record it comes from (never over a later one).
        unsigned char p[kDumpRecordBytes];
        std::memcpy(p, in + r * kDumpRecordBytes, kDumpRecordBytes);
        unsigned char* q = out + r * kLasRecordBytes;
        for (int d = 0; d < 3; ++d) {
            std::int32_t v = 0;
            if (!ToInt32(Get<double>(p + 8 * d), h.offset[d], h.scale[d], v)) {
                return std::pair{r, " does not fit the dump's scale and offset"};
            }
            std::memcpy(q + 4 * d, &v, 4);
        }
        const std::uint16_t level = IntensityLevel(Get<double>(p + 36));
        std::memcpy(q + 12, &level, 2);
        q[14] = 0x09;   // return 1 of 1
        q[15] = 0;      // classification
        q[16] = 0;      // scan angle rank
        q[17] = 0;      // user data
        q[18] = q[19] = 0;   // point source id
        for (int c = 0; c < 3; ++c) {
            const std::int32_t component = Get<std::int32_t>(p + 24 + 4 * c);
            if (component < 0 || component > 255) return std::pair{r, " has a colour outside 0..255"};
            const auto wide = static_cast<std::uint16_t>(component * 257);
            std::memcpy(q + 20 + 2 * c, &wide, 2);
        }
    }
    return std::nullopt;
}

} // namespace

bool ConvertDumpToLas(const std::string& dumpPath, const std::string& lasPath, std::string& error)
{
    const DumpFile in(dumpPath);
    if (!in.IsOpen()) {
        error = "cannot open " + dumpPath;
        return false;
    }
    const std::optional<std::uint64_t> size = in.Size();
    if (!size) {
        error = "cannot open " + dumpPath;
        return false;
    }
    const std::uint64_t fileSize = *size;
    std::array<unsigned char, kDumpHeaderBytes> head{};
    if (fileSize < kDumpHeaderBytes || !in.ReadAt(0, head.data(), head.size())) {
        error = "the dump is shorter than its header";
        return false;
    }
    if (Get<std::uint32_t>(&head[0]) != kDumpMagic || Get<std::uint16_t>(&head[4]) != kDumpVersion) {
        error = "not a point dump (magic or version)";
        return false;
    }
    DumpHeader h;
    h.count = Get<std::int32_t>(&head[6]);
    for (int d = 0; d < 3; ++d) {
        h.min[d] = Get<double>(&head[0x0A + 8 * d]);
        h.max[d] = Get<double>(&head[0x0A + 24 + 8 * d]);
        h.scale[d] = Get<double>(&head[0x3A + 8 * d]);
        h.offset[d] = Get<double>(&head[0x52 + 8 * d]);
    }
    if (h.count < 0 || fileSize - kDumpHeaderBytes != std::uint64_t(h.count) * kDumpRecordBytes) {
        error = "the dump's point count " + std::to_string(h.count) + " does not match its " +
                std::to_string(fileSize) + " bytes";
        return false;
    }
    for (int d = 0; d < 3; ++d) {
        if (!std::isfinite(h.min[d]) || !std::isfinite(h.max[d]) || !std::isfinite(h.offset[d]) ||
            !std::isfinite(h.scale[d]) || h.scale[d] <= 0.0) {
            error = "the dump's bounds, scales or offsets are not finite and positive";
            return false;
        }
    }

    tessara::AtomicFileWriter out(lasPath);
    if (!out.Open()) {
        error = "cannot create a file beside " + lasPath;
        return false;
    }
    const std::vector<unsigned char> header = LasHeader(h);
    if (!out.Write(header.data(), header.size())) {
        error = "cannot write " + lasPath;
        return false;
    }
    // The dump is read and converted in blocks on every worker; the blocks are
    // written in order, one stream, each handed to the disk at once, so the final
    // sync has little left to do. The point reported is the first (in order) that
    // does not fit: every block before a failed one is still converted.
    const std::size_t count = static_cast<std::size_t>(h.count);
    const std::size_t blocks = (count + kRecordsPerBlock - 1) / kRecordsPerBlock;
    std::mutex problemMutex;
    std::size_t problemAt = count;   // guarded by problemMutex, as is problem
    std::string problem;
    const auto report = [&](std::size_t at, std::string text) {
        const std::lock_guard lock(problemMutex);
        if (at >= problemAt) return;
        problemAt = at;
        problem = std::move(text);
    };
    // Each worker reads its block's dump records into a buffer of its own, then
    // converts them into the start of the same buffer (a LAS record is shorter and
    // never overtakes the dump record it comes from).
    tessara::MakeInOrder(
        blocks, kRecordsPerBlock * kDumpRecordBytes,
        [&](std::size_t b, unsigned char* buffer) -> std::optional<std::size_t> {
            const std::size_t from = b * kRecordsPerBlock;
            const std::size_t n = std::min(count - from, kRecordsPerBlock);
            if (!in.ReadAt(kDumpHeaderBytes + std::uint64_t(from) * kDumpRecordBytes, buffer, n * kDumpRecordBytes)) {
                report(from, "cannot read the dump's points");
                return std::nullopt;
            }
            if (const auto bad = ConvertRecords(h, buffer, n, buffer)) {
                report(from + bad->first, "point " + std::to_string(from + bad->first) + bad->second);
                return std::nullopt;
            }
            return n * kLasRecordBytes;
        },
        [&](std::size_t, const unsigned char* records, std::size_t bytes) {
            if (!out.Write(records, bytes)) return false;
            out.StartWriteback();
            return true;
        });
    if (!problem.empty()) {
        error = problem;
        return false;
    }
    if (!out.Commit()) {
        error = "cannot complete " + lasPath;
        return false;
    }
    return true;
}

} // namespace lasconsole

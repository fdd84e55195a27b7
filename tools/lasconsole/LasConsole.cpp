#include "LasConsole.h"

#include "platform/AtomicFileWriter.h"
#include "platform/WriteBehind.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fstream>
#include <limits>
#include <vector>

namespace lasconsole {
namespace {

constexpr std::uint32_t kDumpMagic = 0x40474C56;
constexpr std::uint16_t kDumpVersion = 0x0100;
#ifdef TESSARA_SMALL_READ_BUFFERS
constexpr std::size_t kRecordsPerBlock = 3;   // test builds: small dumps span several blocks
#else
constexpr std::size_t kRecordsPerBlock = 65536;
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

} // namespace

bool ConvertDumpToLas(const std::string& dumpPath, const std::string& lasPath, std::string& error)
{
    std::ifstream in(dumpPath, std::ios::binary);
    if (!in) {
        error = "cannot open " + dumpPath;
        return false;
    }
    in.seekg(0, std::ios::end);
    const auto fileSize = static_cast<std::uint64_t>(in.tellg());
    in.seekg(0);
    std::array<unsigned char, kDumpHeaderBytes> head{};
    if (fileSize < kDumpHeaderBytes || !in.read(reinterpret_cast<char*>(head.data()), head.size())) {
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
    // The dump is read and converted in blocks of a bounded size; a second thread
    // writes each converted block while the next is read, and asks the disk to start
    // on it, so the final sync has little left to do.
    std::string problem;
    const auto convert = [&](tessara::BlockSink& sink) {
        std::vector<unsigned char> records(kRecordsPerBlock * kDumpRecordBytes);
        for (std::int64_t done = 0; done < h.count && !sink.Failed();) {
            const auto block = static_cast<std::size_t>(std::min<std::int64_t>(h.count - done, kRecordsPerBlock));
            if (!in.read(reinterpret_cast<char*>(records.data()),
                         static_cast<std::streamsize>(block * kDumpRecordBytes))) {
                problem = "cannot read the dump's points";
                return false;
            }
            for (std::size_t r = 0; r < block; ++r) {
                const unsigned char* p = &records[r * kDumpRecordBytes];
                unsigned char* q = sink.Append(kLasRecordBytes);
                for (int d = 0; d < 3; ++d) {
                    std::int32_t v = 0;
                    if (!ToInt32(Get<double>(p + 8 * d), h.offset[d], h.scale[d], v)) {
                        problem = "point " + std::to_string(done + std::int64_t(r)) +
                                  " does not fit the dump's scale and offset";
                        return false;
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
                    if (component < 0 || component > 255) {
                        problem = "point " + std::to_string(done + std::int64_t(r)) + " has a colour outside 0..255";
                        return false;
                    }
                    const auto wide = static_cast<std::uint16_t>(component * 257);
                    std::memcpy(q + 20 + 2 * c, &wide, 2);
                }
            }
            done += static_cast<std::int64_t>(block);
        }
        return true;
    };
    const bool converted =
        tessara::WriteBehind(kRecordsPerBlock * kLasRecordBytes, convert, [&](const unsigned char* data, std::size_t size) {
            if (!out.Write(data, size)) return false;
            out.StartWriteback();
            return true;
        });
    if (!converted) {
        error = problem.empty() ? "cannot write " + lasPath : problem;
        return false;
    }
    if (!out.Commit()) {
        error = "cannot complete " + lasPath;
        return false;
    }
    return true;
}

} // namespace lasconsole

#include "viewer/files/PointTextExport.h"

#include "outside/CModelDataMng.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "viewer/files/BufferedFileWriter.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {

constexpr std::string_view kCrLf = "\r\n";

// printf's "%*.4f" without the locale: right-aligned in width. The common case
// is worked out on integers; a value whose fifth decimal lies too near a half to
// decide from the scaled double, or that is too large, takes the exact conversion.
}  // namespace

void AppendFixed4(std::string& line, double value, int width)
{
    char text[400];
    std::size_t n = 0;
    const double scaled = value * 10000.0;
    const double whole = std::floor(scaled);
    const double frac = scaled - whole;
    const double tolerance = std::fabs(scaled) * 4e-16 + 1e-9;
    if (std::fabs(scaled) < 1e15 && std::fabs(frac - 0.5) > tolerance) {
        std::int64_t units = static_cast<std::int64_t>(whole) + (frac > 0.5 ? 1 : 0);
        const bool negative = units < 0 || (units == 0 && std::signbit(value));
        std::uint64_t magnitude = units < 0 ? std::uint64_t(-units) : std::uint64_t(units);
        char digits[24];
        int d = 0;
        do {
            digits[d++] = char('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude > 0 || d < 5);
        if (negative) text[n++] = '-';
        for (int i = d - 1; i >= 4; --i) text[n++] = digits[i];
        text[n++] = '.';
        for (int i = 3; i >= 0; --i) text[n++] = digits[i];
    } else {
        const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
        n = r.ec == std::errc() ? std::size_t(r.ptr - text) : 0;
    }
    if (int(n) < width) line.append(std::size_t(width) - n, ' ');
    line.append(text, n);
}

namespace {

void AppendInt(std::string& line, std::int64_t value, int width = 0)
{
    char text[24];
    const auto r = std::to_chars(text, text + sizeof text, value);
    const std::size_t n = std::size_t(r.ptr - text);
    if (int(n) < width) line.append(std::size_t(width) - n, ' ');
    line.append(text, n);
}

std::int64_t AllPoints(const CModelDataMng& store)
{
    std::int64_t total = 0;
    for (int i = 0; i < store.GetGroupCount(); ++i)
        if (const CPCloudMng* g = store.GetGroup(i)) total += g->GetCloudPointSize();
    return total;
}

std::int64_t ShownPoints(const CModelDataMng& store)
{
    std::int64_t total = 0;
    for (int i = 0; i < store.GetGroupCount(); ++i)
        if (const CPCloudMng* g = store.GetGroup(i); g && g->IsShownForPoints()) total += g->GetCloudPointSize();
    return total;
}

}  // namespace

std::string MakeNumberedFileName(const std::string& path, std::int64_t number)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string folder = path.substr(0, nameStart);
    const std::string name = path.substr(nameStart);
    const std::size_t dot = name.find_last_of('.');
    std::string base;
    std::string ext = name;
    if (dot != std::string::npos) {
        base = name.substr(0, dot);
        ext = name.substr(dot);
    }
    return folder + base + "(" + std::to_string(number) + ")" + ext;
}

int WriteSurveyPointText(const CModelDataMng& store, const MTRX& toSurvey, const std::string& path)
{
    if (path.empty() || AllPoints(store) <= 0) return 0;
    BufferedFileWriter out(path);
    if (!out.Open()) {
        tessara::Log("cannot create %s", path.c_str());
        return 0;
    }
    out.Append("G00,04,,\r\nZ01,1,\r\nA00,\r\n");
    std::string line;
    for (int gi = 0; gi < store.GetGroupCount() && out.Ok(); ++gi) {
        const CPCloudMng* g = store.GetGroup(gi);
        if (!g) continue;
        const std::int64_t n = g->GetCloudPointSize();
        for (std::int64_t i = 0; i < n; ++i) {
            float x = 0, y = 0, z = 0;
            COLORREF colour = 0;
            double intensity = 0;
            if (!g->GetCloudPointVal(i, x, y, z, colour, intensity)) continue;
            double sx = x, sy = y;
            toSurvey.XY(&sx, &sy);
            line.assign("A01,");
            AppendInt(line, i + 1, 9);
            line.append(",,");
            AppendFixed4(line, sx, 16);
            line.push_back(',');
            AppendFixed4(line, sy, 16);
            line.push_back(',');
            AppendFixed4(line, z, 16);
            line.push_back(',');
            line.append(kCrLf);
            out.Append(line);
        }
    }
    out.Append("A99,\r\nG99\t,\r\n");
    if (!out.Commit()) {
        tessara::Log("cannot write %s", path.c_str());
        return 0;
    }
    return 1;
}

int WriteCommaPointText(const CModelDataMng& store, const MTRX& toSurvey, const std::string& path, double scale,
                        std::uint8_t axisXY, const PointTextLimits& limits)
{
    if (path.empty()) return 0;
    const std::int64_t byteLimit = limits.mode == 1 && limits.sizeMb > 0 ? std::int64_t{limits.sizeMb} * 1048576 : 0;
    const std::int64_t pointLimit =
        limits.mode == 2 && limits.pointUnits > 0 ? std::int64_t{limits.pointUnits} * 10000 : 0;
    const bool numbered = byteLimit > 0 || pointLimit > 0;
    if (ShownPoints(store) <= 0) return 0;

    std::int64_t fileNumber = 0;
    std::unique_ptr<BufferedFileWriter> out;
    std::string current;
    std::int64_t pointsInFile = 0;
    const auto finish = [&]() -> bool {
        if (!out) return true;
        const bool ok = out->Commit();
        if (!ok) tessara::Log("cannot write %s", current.c_str());
        out.reset();
        return ok;
    };
    const auto next = [&]() -> bool {
        if (!finish()) return false;
        ++fileNumber;
        current = numbered ? MakeNumberedFileName(path, fileNumber) : path;
        out = std::make_unique<BufferedFileWriter>(current);
        pointsInFile = 0;
        if (!out->Open()) {
            tessara::Log("cannot create %s", current.c_str());
            out.reset();
            return false;
        }
        return true;
    };

    std::string line;
    for (int gi = 0; gi < store.GetGroupCount(); ++gi) {
        const CPCloudMng* g = store.GetGroup(gi);
        if (!g || !g->IsShownForPoints()) continue;
        const std::int64_t n = g->GetCloudPointSize();
        for (std::int64_t i = 0; i < n; ++i) {
            if (!out && !next()) return 0;
            if (pointLimit > 0 && ++pointsInFile > pointLimit) {
                if (!next()) return 0;
                pointsInFile = 1;
            }
            float x = 0, y = 0, z = 0;
            COLORREF colour = 0;
            double intensity = 0;
            if (!g->GetCloudPointVal(i, x, y, z, colour, intensity)) continue;
            x = static_cast<float>(x * scale);
            y = static_cast<float>(y * scale);
            z = static_cast<float>(z * scale);
            double sx = x, sy = y;
            toSurvey.XY(&sx, &sy);
            if (byteLimit > 0 && std::int64_t(out->Written()) > byteLimit && !next()) return 0;
            line.clear();
            AppendFixed4(line, axisXY ? sx : sy, 0);
            line.push_back(',');
            AppendFixed4(line, axisXY ? sy : sx, 0);
            line.push_back(',');
            AppendFixed4(line, z, 0);
            line.push_back(',');
            AppendInt(line, colour & 0xFF);
            line.push_back(',');
            AppendInt(line, (colour >> 8) & 0xFF);
            line.push_back(',');
            AppendInt(line, (colour >> 16) & 0xFF);
            line.append(kCrLf);
            out->Append(line);
            if (!out->Ok()) {
                tessara::Log("cannot write %s", current.c_str());
                return 0;
            }
        }
    }
    return finish() && fileNumber > 0 ? 1 : 0;
}

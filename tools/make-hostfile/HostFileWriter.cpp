#include "HostFileWriter.h"

#include "HostFileBytes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace hostfile {
namespace {

void PutXyz(HostFileBytes& b, const Xyz& p)
{
    b.F64(p.x);
    b.F64(p.y);
    b.F64(p.z);
}

bool PutText(HostFileBytes& b, const std::string& utf8, bool wide)
{
    if (wide) {
        std::u16string units;
        for (std::size_t i = 0; i < utf8.size();) {
            const unsigned char c = utf8[i];
            char32_t cp = c;
            int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
            if (extra) cp = c & (0x3F >> extra);
            for (int k = 1; k <= extra && i + k < utf8.size(); ++k) cp = cp << 6 | (utf8[i + k] & 0x3F);
            i += 1 + extra;
            if (cp >= 0x10000) {
                cp -= 0x10000;
                units += char16_t(0xD800 + (cp >> 10));
                units += char16_t(0xDC00 + (cp & 0x3FF));
            } else {
                units += char16_t(cp);
            }
        }
        b.CountedWide(units);
        return true;
    }
    std::string cp932;
    if (!Utf8ToCp932(utf8, cp932)) return false;
    b.CountedCp932(cp932);
    return true;
}

}  // namespace

bool WriteHostFile(const HostFileLayout& s, std::vector<std::uint8_t>& out)
{
    HostFileBytes b;
    b.U32(s.magic);
    b.U16(s.version);
    b.I32(s.flags);
    b.Raw(s.hostTransform, sizeof s.hostTransform);
    b.F64(s.x0);
    b.F64(s.y0);
    for (const Xyz& c : s.corners) {
        b.F64(c.x);
        b.F64(c.y);
    }
    if (s.flags & kFlagCad) {
        if (!PutText(b, s.cadText, false)) return false;
        b.I32(s.figureCountOverride ? s.figureCountOverride : std::int32_t(s.figures.size()));
        for (const Figure& f : s.figures) {
            b.U8(f.type);
            b.I32(f.attribute);
            b.I32(f.colour);
            b.F64(f.elevation);
            b.I32(std::int32_t(f.points.size()));
            for (const Xyz& p : f.points) PutXyz(b, p);
            if (f.type == 13) {
                b.I32(f.extra1);
                b.I32(f.extra2);
            }
            if (f.type == 5) {
                b.I32(f.secondSwitch);
                if (f.secondSwitch) {
                    b.I32(std::int32_t(f.second.size()));
                    for (const Xyz& p : f.second) PutXyz(b, p);
                }
            }
        }
    }
    if (s.flags & kFlagPart) {
        b.I32(std::int32_t(s.partPoints.size()));
        for (const PartPoint& p : s.partPoints) {
            PutXyz(b, p.p);
            b.U32(p.colour);
        }
        b.I32(std::int32_t(s.partVertices.size()));
        for (const Xyz& v : s.partVertices) PutXyz(b, v);
        b.I32(std::int32_t(s.partLines.size()));
        for (const PartLine& l : s.partLines) {
            b.I32(l.first);
            b.I32(l.second);
            b.I32(l.value);
        }
    }
    if (s.flags & kFlagViewCloud) {
        b.I32(std::int32_t(s.viewCloud.size()));
        for (const Xyz& p : s.viewCloud) PutXyz(b, p);
    }
    if (s.flags & kFlagGroup) {
        if (!PutText(b, s.groupName, s.groupNameWide)) return false;
        const std::int32_t n = s.groupCountOverride ? s.groupCountOverride : std::int32_t(s.groupPoints.size());
        b.I32(n);
        if (n > 0) {
            PutXyz(b, s.groupReference);
            for (const GroupPoint& p : s.groupPoints) {
                PutXyz(b, p.p);
                b.U32(p.colour);
                b.F64(p.intensity);
            }
        }
    }
    out = std::move(b.Bytes());
    return true;
}

std::vector<std::uint8_t> WritePolygonFile(const PolygonFileLayout& layout)
{
    HostFileBytes b;
    b.U32(kMagic);
    b.U16(kHostVersion);
    b.I32(std::int32_t(layout.polygons.size()));
    for (const auto& polygon : layout.polygons) {
        b.U16(std::uint16_t(polygon.size()));
        for (const Xyz& p : polygon) PutXyz(b, p);
    }
    return std::move(b.Bytes());
}

namespace {

double SlopeZ(double x, double y)
{
    return kSlopeBase + kSlopeX * (x - kExampleX0) + kSlopeY * (y - kExampleY0);
}

// N points on a square lattice of 1 m from (x0, y0) north and east.
std::vector<Xyz> Lattice(int n, double offset)
{
    std::vector<Xyz> out;
    out.reserve(std::size_t(std::max(n, 0)));
    const int side = std::max(1, int(std::ceil(std::sqrt(double(std::max(n, 1))))));
    for (int i = 0; i < n; ++i) {
        const double x = kExampleX0 + offset + (i / side);
        const double y = kExampleY0 + offset + (i % side);
        out.push_back({x, y, SlopeZ(x, y)});
    }
    return out;
}

}  // namespace

HostFileLayout MakeExample(const ExampleCounts& c)
{
    HostFileLayout s;
    if (c.points > 0) s.flags |= kFlagGroup;
    if (c.tin > 0) s.flags |= kFlagViewCloud;
    if (c.cad > 0) s.flags |= kFlagCad;
    if (c.part > 0) s.flags |= kFlagPart;
    for (std::size_t i = 0; i < sizeof s.hostTransform; ++i) s.hostTransform[i] = std::uint8_t(0xA5 ^ i);
    s.x0 = kExampleX0;
    s.y0 = kExampleY0;
    const int side = std::max(1, int(std::ceil(std::sqrt(double(std::max({c.points, c.tin, c.part, 1}))))));
    s.corners[0] = {kExampleX0, kExampleY0, 0};
    s.corners[1] = {kExampleX0 + side, kExampleY0, 0};
    s.corners[2] = {kExampleX0 + side, kExampleY0 + side, 0};
    s.corners[3] = {kExampleX0, kExampleY0 + side, 0};

    s.cadText = "CAD図形";
    for (int i = 0; i < c.cad; ++i) {
        Figure f;
        const double x = kExampleX0 + i, y = kExampleY0 + i;
        f.attribute = i;
        f.colour = (i % 3 == 0) ? 0 : 0x0000FF << (8 * (i % 3));
        switch (i % 4) {
        case 0:  // point
            f.type = 1;
            f.elevation = SlopeZ(x, y);
            f.points = {{x, y, SlopeZ(x, y)}};
            break;
        case 1:  // polyline with a middle point without elevation
            f.type = 2;
            f.points = {{x, y, SlopeZ(x, y)},
                        {x + 1, y, std::numeric_limits<double>::quiet_NaN()},
                        {x + 2, y + 1, SlopeZ(x + 2, y + 1)}};
            break;
        case 2:  // two-part figure
            f.type = 5;
            f.points = {{x, y, SlopeZ(x, y)}, {x, y + 2, SlopeZ(x, y + 2)}, {x + 2, y + 2, SlopeZ(x + 2, y + 2)}};
            f.secondSwitch = 1;
            f.second = {{x + 0.5, y + 0.5, SlopeZ(x + 0.5, y + 0.5)}, {x + 1.5, y + 0.5, kNoElevation}};
            break;
        default:  // text-like figure with two attributes
            f.type = 13;
            f.points = {{x, y, kNoElevation}};
            f.extra1 = 7;
            f.extra2 = -3;
            break;
        }
        s.figures.push_back(std::move(f));
    }

    for (const Xyz& p : Lattice(c.part, 0.25)) {
        const bool withZ = s.partPoints.size() % 2 == 0;
        s.partPoints.push_back({{p.x, p.y, withZ ? p.z : kNoElevation}, 0x00336699});
        s.partVertices.push_back({p.x, p.y, withZ ? p.z : kNoElevation});
    }
    for (int i = 0; i + 1 < c.part; ++i) s.partLines.push_back({i, i + 1, 100 + i});

    s.viewCloud = Lattice(c.tin, 0.5);

    s.groupName = c.name;
    s.groupReference = {kExampleX0, kExampleY0, kSlopeBase};
    const auto lattice = Lattice(c.points, 0.0);
    s.groupPoints.reserve(lattice.size());
    for (std::size_t i = 0; i < lattice.size(); ++i) {
        const std::uint32_t r = std::uint32_t(i * 37 % 256), g = std::uint32_t(i * 91 % 256), bl = std::uint32_t(i * 13 % 256);
        s.groupPoints.push_back({lattice[i], r | g << 8 | bl << 16, double(i % 1000)});
    }
    return s;
}

bool MakeBroken(const std::string& kind, const ExampleCounts& counts, std::vector<std::uint8_t>& out)
{
    HostFileLayout s = MakeExample(counts);
    if (kind == "magic") {
        s.magic = 0x40474C57;
    } else if (kind == "version") {
        s.version = 0x0101;
    } else if (kind == "huge-count") {
        s.flags |= kFlagGroup;
        s.groupCountOverride = 0x7FFFFFFF;
    } else if (kind == "bad-index") {
        s.flags |= kFlagPart;
        if (s.partVertices.empty()) s.partVertices = {{kExampleX0, kExampleY0, kSlopeBase}};
        s.partLines.push_back({0, std::int32_t(s.partVertices.size()), 0});
    } else if (kind == "unterminated-string") {
        // The group section comes last: its name announces more bytes than follow.
        s.flags = kFlagGroup;
        s.groupName.clear();
        s.groupPoints.clear();
        if (!WriteHostFile(s, out)) return false;
        out.resize(out.size() - 5);  // the empty name's length byte and the count
        out.insert(out.end(), {0xFF, 0xFD, 0xFF, 'a', 'b', 'c'});  // 0xFFFD bytes announced
        return true;
    } else if (kind.rfind("cut:", 0) == 0) {
        if (!WriteHostFile(s, out)) return false;
        char* end = nullptr;
        const unsigned long long k = std::strtoull(kind.c_str() + 4, &end, 10);
        if (end == kind.c_str() + 4 || *end != '\0') return false;
        if (k < out.size()) out.resize(std::size_t(k));
        return true;
    } else {
        return false;
    }
    return WriteHostFile(s, out);
}

bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace hostfile

namespace hostfile {

std::vector<std::uint8_t> WriteOverlayFile(const OverlayFileLayout& layout)
{
    HostFileBytes out;
    out.U32(0x40474C56);
    out.U16(0x0100);
    for (int i = 0; i < 74; ++i) out.U8(0);   // transform record, not used by the viewer
    out.F64(layout.originA);
    out.F64(layout.originB);
    for (const auto& c : layout.corners) {
        out.F64(c[0]);
        out.F64(c[1]);
    }
    out.I32(static_cast<std::int32_t>(layout.points.size()));
    for (const auto& p : layout.points) {
        for (int k = 0; k < 3; ++k) out.F64(p[k]);
        out.U32(static_cast<std::uint32_t>(p[3]));
    }
    out.I32(static_cast<std::int32_t>(layout.segments.size()));
    for (const auto& s : layout.segments) {
        for (int k = 0; k < 6; ++k) out.F64(s[k]);
        out.U32(static_cast<std::uint32_t>(s[6]));
    }
    out.I32(static_cast<std::int32_t>(layout.polygons.size()));
    for (const auto& polygon : layout.polygons) {
        out.U16(static_cast<std::uint16_t>(polygon.size()));
        for (const auto& v : polygon)
            for (int k = 0; k < 3; ++k) out.F64(v[k]);
        out.U32(layout.polygonColour);
    }
    return out.Bytes();
}

OverlayFileLayout MakeOverlayExample(int points, int segments, int polygons)
{
    OverlayFileLayout layout;
    layout.originA = kExampleY0;
    layout.originB = kExampleX0;
    const double x0 = kExampleX0, y0 = kExampleY0;
    layout.corners = {{x0, y0}, {x0 + 100, y0}, {x0 + 100, y0 + 100}, {x0, y0 + 100}};
    for (int i = 0; i < points; ++i) layout.points.push_back({x0 + i, y0 + i, 10.0 + i, 0x0000FF});
    for (int i = 0; i < segments; ++i) layout.segments.push_back({x0 + i, y0, 10.0, x0 + i, y0 + 50, 12.0, 0xFF0000});
    for (int i = 0; i < polygons; ++i) {
        const double x = x0 + 10 * i, y = y0 + 10 * i;
        layout.polygons.push_back({{x, y, 10}, {x + 5, y, 10}, {x + 5, y + 5, 11}, {x, y + 5, 11}});
    }
    return layout;
}

}  // namespace hostfile

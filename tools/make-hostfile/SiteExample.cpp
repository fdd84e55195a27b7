#include "SiteExample.h"

#include "HostFileWriter.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

namespace hostfile {
namespace {

// Every elevation of the site lies above this; the host data's group reference
// carries it, so it becomes the viewer's rendering centre height, and the model
// text states the same centre.
constexpr double kSiteBase = 45.0;

struct Box {
    double e0, n0, e1, n1;
    bool Contains(double e, double n) const { return e >= e0 && e <= e1 && n >= n0 && n <= n1; }
    // Plan distance from the box, 0 inside.
    double Distance(double e, double n) const
    {
        const double de = std::max({e0 - e, 0.0, e - e1});
        const double dn = std::max({n0 - n, 0.0, n - n1});
        return std::hypot(de, dn);
    }
};

// The levelled yard east of the houses, its slopes blending into the ground.
constexpr Box kYard{4.0, -8.0, 30.0, 17.0};
constexpr double kYardLevel = 53.0;
constexpr double kYardSlopeWidth = 3.0;
// The road along the south edge.
constexpr double kRoadSouth = -21.0, kRoadNorth = -15.0;
// House (gabled roof, ridge east-west) and shed (flat roof).
constexpr Box kHouse{-28.0, 2.0, -16.0, 12.0};
constexpr Box kShed{-10.0, 8.0, -2.0, 16.0};
// The property line and the traverse around it.
constexpr Box kProperty{-32.0, -13.0, 32.0, 21.0};

struct Tree {
    double e, n, radius;
};
constexpr std::array<Tree, 6> kTrees{{{-30.0, -8.0, 3.0}, {-22.5, -9.5, 2.5}, {-12.0, -6.0, 3.5},
                                      {32.5, -11.0, 2.5}, {-4.0, 20.0, 3.0}, {12.0, 20.5, 2.5}}};

double NaturalGround(double e, double n)
{
    return 52.0 + 0.1 * n + 1.2 * std::sin(e / 9.0) * std::cos(n / 7.0);
}

double RoadLevel(double e) { return 50.3 + 0.01 * e; }

// A repeatable value in [0, 1) for a lattice cell: colour and intensity noise.
double Noise(int i, int j, int salt)
{
    std::uint32_t h = std::uint32_t(i) * 73856093u ^ std::uint32_t(j) * 19349663u ^ std::uint32_t(salt) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return double(h & 0xFFFF) / 65536.0;
}

std::uint32_t Rgb(int r, int g, int b)
{
    auto c = [](int v) { return std::uint32_t(std::clamp(v, 0, 255)); };
    return c(r) | c(g) << 8 | c(b) << 16;  // COLORREF
}

std::uint32_t Shade(std::array<int, 3> base, int spread, int i, int j)
{
    const int d = int((Noise(i, j, 1) - 0.5) * 2 * spread);
    return Rgb(base[0] + d, base[1] + d, base[2] + d / 2);
}

// Host coordinates of a site offset: X north, Y east.
Xyz Host(double east, double north, double z) { return {kExampleX0 + north, kExampleY0 + east, z}; }

struct SiteFigure {
    std::uint8_t type;
    std::uint32_t rgb;                 // RRGGBB as make-model writes it
    double elevation;                  // kNoElevation: none
    std::vector<Xyz> points;           // east, north, z (NaN: no elevation)
    std::vector<Xyz> second;           // type 5 only
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<Xyz> Ring(const Box& b, double (*z)(double, double))
{
    return {{b.e0, b.n0, z(b.e0, b.n0)}, {b.e1, b.n0, z(b.e1, b.n0)}, {b.e1, b.n1, z(b.e1, b.n1)},
            {b.e0, b.n1, z(b.e0, b.n1)}, {b.e0, b.n0, z(b.e0, b.n0)}};
}

std::vector<Xyz> FlatRing(const Box& b)
{
    return {{b.e0, b.n0, kNaN}, {b.e1, b.n0, kNaN}, {b.e1, b.n1, kNaN}, {b.e0, b.n1, kNaN}, {b.e0, b.n0, kNaN}};
}

std::vector<SiteFigure> Figures()
{
    std::vector<SiteFigure> f;
    f.push_back({2, 0xFF3030, kNoElevation, Ring(kProperty, SiteGround), {}});
    for (double n : {kRoadSouth, kRoadNorth}) {
        SiteFigure edge{2, 0xFFFFFF, kNoElevation, {}, {}};
        for (double e = -kSiteHalfEast; e <= kSiteHalfEast; e += 10.0) edge.points.push_back({e, n, RoadLevel(e)});
        f.push_back(std::move(edge));
    }
    // The centre line was drawn on the plan: every other point has no elevation.
    SiteFigure centre{2, 0xFFD700, kNoElevation, {}, {}};
    for (int k = 0; k <= 7; ++k) {
        const double e = -kSiteHalfEast + 10.0 * k;
        centre.points.push_back({e, 0.5 * (kRoadSouth + kRoadNorth), k % 2 ? kNaN : RoadLevel(e)});
    }
    f.push_back(std::move(centre));
    f.push_back({2, 0xFF8C00, kNoElevation, Ring(kYard, [](double, double) { return kYardLevel; }), {}});
    // The house: its outline, and its ridge as the second list.
    const double ridgeN = 0.5 * (kHouse.n0 + kHouse.n1);
    f.push_back({5, 0x00E0FF, kNoElevation, FlatRing(kHouse), {{kHouse.e0, ridgeN, kNaN}, {kHouse.e1, ridgeN, kNaN}}});
    f.push_back({2, 0x00E0FF, kNoElevation, FlatRing(kShed), {}});
    for (const auto& [e, n] : std::array<std::pair<double, double>, 3>{{{-30.0, -11.0}, {30.0, 19.0}, {0.0, -12.0}}}) {
        const double z = SiteGround(e, n);
        f.push_back({1, 0x40FF40, z, {{e, n, z}}, {}});
    }
    return f;
}

// The closed traverse around the property.
std::vector<Xyz> Stations()
{
    return {{-33.0, -12.0, 0}, {0.0, -13.5, 0}, {33.0, -12.0, 0}, {33.0, 21.5, 0}, {-33.0, 21.5, 0}};
}

double StationZ(const Xyz& s) { return SiteGround(s.x, s.y); }

double CanopyTop(const Tree& t, double e, double n)
{
    const double r = std::hypot(e - t.e, n - t.n);
    if (r > t.radius) return kNaN;
    return SiteGround(t.e, t.n) + 4.5 + 3.0 * std::sqrt(1.0 - (r / t.radius) * (r / t.radius));
}

// What a sensor sees from above at (east, north): height, colour (COLORREF) and
// return intensity; i and j pick the noise.
struct SiteSurface {
    double z;
    std::uint32_t colour;
    double intensity;
};

SiteSurface Surface(double e, double n, int i, int j)
{
    double canopy = kNaN;
    for (const Tree& t : kTrees)
        if (const double top = CanopyTop(t, e, n); !std::isnan(top)) canopy = std::isnan(canopy) ? top : std::max(canopy, top);
    if (!std::isnan(canopy)) return {canopy, Shade({46, 96, 38}, 30, i, j), 40 + 20 * Noise(i, j, 4)};
    const double z = SiteGround(e, n);
    if (n >= kRoadSouth && n <= kRoadNorth) {
        const bool lane = std::fabs(n - 0.5 * (kRoadSouth + kRoadNorth)) < 0.15 && std::fmod(e + 100.0, 6.0) < 3.0;
        const bool kerb = n - kRoadSouth < 0.3 || kRoadNorth - n < 0.3;
        if (lane) return {z, Shade({235, 235, 225}, 10, i, j), 220};
        if (kerb) return {z, Shade({160, 160, 155}, 12, i, j), 140};
        return {z, Shade({92, 92, 98}, 14, i, j), 30 + 10 * Noise(i, j, 4)};
    }
    if (kYard.Distance(e, n) < 0.5) return {z, Shade({178, 142, 98}, 22, i, j), 110 + 30 * Noise(i, j, 4)};
    return {z, Shade({96, 146, 62}, 26, i, j), 60 + 25 * Noise(i, j, 4)};
}

}  // namespace

double SiteGround(double east, double north)
{
    double z = NaturalGround(east, north);
    const double d = kYard.Distance(east, north);
    if (d < kYardSlopeWidth) {
        const double w = 1.0 - d / kYardSlopeWidth;
        z = z + (kYardLevel - z) * w;
    }
    const double roadDistance = std::max({kRoadSouth - north, 0.0, north - kRoadNorth});
    if (roadDistance < 1.5) {
        const double w = 1.0 - roadDistance / 1.5;
        z = z + (RoadLevel(east) - z) * w;
    }
    return z;
}

HostFileLayout MakeSiteExample(double spacing)
{
    HostFileLayout s;
    s.flags = kFlagCad | kFlagPart | kFlagGroup;
    s.x0 = kExampleX0;
    s.y0 = kExampleY0;
    s.corners[0] = Host(-kSiteHalfEast, -kSiteHalfNorth, 0);
    s.corners[1] = Host(kSiteHalfEast, -kSiteHalfNorth, 0);
    s.corners[2] = Host(kSiteHalfEast, kSiteHalfNorth, 0);
    s.corners[3] = Host(-kSiteHalfEast, kSiteHalfNorth, 0);

    s.cadText = "現況平面図";
    for (const SiteFigure& sf : Figures()) {
        Figure f;
        f.type = sf.type;
        f.attribute = int(s.figures.size());
        f.colour = std::int32_t(Rgb(int(sf.rgb >> 16 & 0xFF), int(sf.rgb >> 8 & 0xFF), int(sf.rgb & 0xFF)));
        f.elevation = sf.elevation;
        for (const Xyz& p : sf.points) f.points.push_back(Host(p.x, p.y, p.z));
        if (sf.type == 5) {
            f.secondSwitch = 1;
            for (const Xyz& p : sf.second) f.second.push_back(Host(p.x, p.y, std::isnan(p.z) ? kNoElevation : p.z));
        }
        s.figures.push_back(std::move(f));
    }
    // The benchmark's name plate, placed on the plan without elevation.
    Figure plate;
    plate.type = 13;
    plate.attribute = int(s.figures.size());
    plate.points = {Host(0.0, -12.0, kNoElevation)};
    plate.extra1 = 1;
    plate.extra2 = 0;
    s.figures.push_back(std::move(plate));

    const auto stations = Stations();
    for (const Xyz& st : stations) {
        const Xyz p = Host(st.x, st.y, StationZ(st));
        s.partPoints.push_back({p, 0x00336699});
        s.partVertices.push_back(p);
    }
    for (int i = 0; i < int(stations.size()); ++i) s.partLines.push_back({i, (i + 1) % int(stations.size()), 100 + i});

    s.groupName = "現況点群";
    s.groupReference = Host(0.0, 0.0, kSiteBase);
    const int columns = int(std::floor(2 * kSiteHalfEast / spacing + 1e-9)) + 1;
    const int rows = int(std::floor(2 * kSiteHalfNorth / spacing + 1e-9)) + 1;
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            // A little jitter, as a scan never lands on a lattice.
            const double e = -kSiteHalfEast + i * spacing + (Noise(i, j, 2) - 0.5) * 0.3 * spacing;
            const double n = -kSiteHalfNorth + j * spacing + (Noise(i, j, 3) - 0.5) * 0.3 * spacing;
            if (kHouse.Contains(e, n) || kShed.Contains(e, n)) continue;  // roofs are not ground
            const SiteSurface at = Surface(e, n, i, j);
            s.groupPoints.push_back({Host(e, n, at.z), at.colour, at.intensity});
        }
    }
    return s;
}

namespace {

void Line(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Line(std::string& out, const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    out += buffer;
    out += '\n';
}

// A building as one structure store: walls from the ground to the eaves and a
// roof rising to `ridge` above the eaves along its east-west centre line.
void Building(std::string& out, int slot, const Box& b, double eaves, double ridge)
{
    const double base = SiteGround(0.5 * (b.e0 + b.e1), 0.5 * (b.n0 + b.n1));
    const double top = base + eaves;
    const double mid = 0.5 * (b.n0 + b.n1);
    Line(out, "structure %d", slot);
    const std::array<std::array<double, 2>, 4> corners{{{b.e0, b.n0}, {b.e1, b.n0}, {b.e1, b.n1}, {b.e0, b.n1}}};
    for (const auto& c : corners) Line(out, "sv %.2f %.2f %.3f", c[0], c[1], base);   // 0..3
    for (const auto& c : corners) Line(out, "sv %.2f %.2f %.3f", c[0], c[1], top);    // 4..7
    Line(out, "sv %.2f %.2f %.3f", b.e0, mid, top + ridge);                            // 8
    Line(out, "sv %.2f %.2f %.3f", b.e1, mid, top + ridge);                            // 9
    for (int k = 0; k < 4; ++k) {
        const int a = k, c = (k + 1) % 4;
        Line(out, "st %d %d %d", a, c, c + 4);
        Line(out, "st %d %d %d", a, c + 4, a + 4);
    }
    // Roof: two slopes, and the gables' triangles when it has a ridge.
    Line(out, "st 4 5 9");
    Line(out, "st 4 9 8");
    Line(out, "st 6 7 8");
    Line(out, "st 6 8 9");
    if (ridge > 0) {
        Line(out, "st 5 6 9");
        Line(out, "st 7 4 8");
    }
}

}  // namespace

std::string SitePicture(int pixelsPerMetre)
{
    const int width = int(2 * kSiteHalfEast * pixelsPerMetre), height = int(2 * kSiteHalfNorth * pixelsPerMetre);
    std::string out = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    out.reserve(out.size() + std::size_t(width) * std::size_t(height) * 3);
    for (int row = 0; row < height; ++row) {          // the first row is the north edge
        for (int column = 0; column < width; ++column) {
            const double e = -kSiteHalfEast + (column + 0.5) / pixelsPerMetre;
            const double n = kSiteHalfNorth - (row + 0.5) / pixelsPerMetre;
            std::uint32_t colour;
            if (kHouse.Contains(e, n))
                colour = Shade({128, 58, 44}, 8, column, row);   // tiled roof
            else if (kShed.Contains(e, n))
                colour = Shade({150, 152, 156}, 6, column, row); // sheet roof
            else
                colour = Surface(e, n, column, row).colour;
            out += char(colour & 0xFF);
            out += char(colour >> 8 & 0xFF);
            out += char(colour >> 16 & 0xFF);
        }
    }
    return out;
}

std::string SiteModelText()
{
    std::string out;
    Line(out, "# The example site (written by make-hostfile --site-model): the ground TIN from a");
    Line(out, "# 5 m grid, the house and the shed, the CAD figures and the traverse. The host");
    Line(out, "# data of make-hostfile --site lie on the same ground in the same survey frame.");
    Line(out, "center 0 0 %.1f", kSiteBase);
    Line(out, "cad-name 現況平面図");
    // Point clouds coloured by height, on the same scale as the TIN.
    Line(out, "display points height");
    // The aerial picture site.jpg (make-hostfile --site-picture) covers the site.
    Line(out, "texture %.1f %.1f %.1f %.1f 0", -kSiteHalfEast, -kSiteHalfNorth, 2 * kSiteHalfEast, 2 * kSiteHalfNorth);
    out += '\n';
    Line(out, "group 地盤 colour 8C6A3C points-hidden");
    const int columns = 15, rows = 10;
    const double de = 2 * kSiteHalfEast / (columns - 1), dn = 2 * kSiteHalfNorth / (rows - 1);
    for (const char* statement : {"p", "v"})
        for (int i = 0; i < columns; ++i)
            for (int j = 0; j < rows; ++j) {
                const double e = -kSiteHalfEast + i * de, n = -kSiteHalfNorth + j * dn;
                Line(out, "%s %.3f %.3f %.3f", statement, e, n, SiteGround(e, n));
            }
    for (int i = 0; i + 1 < columns; ++i)
        for (int j = 0; j + 1 < rows; ++j) {
            const int a = i * rows + j, b = (i + 1) * rows + j;
            Line(out, "t %d %d %d", a, b, b + 1);
            Line(out, "t %d %d %d", a, b + 1, a + 1);
        }
    out += '\n';
    for (const SiteFigure& f : Figures()) {
        if (f.elevation != kNoElevation)
            Line(out, "figure %u colour %06X z %.3f", unsigned(f.type), unsigned(f.rgb), f.elevation);
        else
            Line(out, "figure %u colour %06X", unsigned(f.type), unsigned(f.rgb));
        auto points = [&](const std::vector<Xyz>& list) {
            for (const Xyz& p : list) {
                if (std::isnan(p.z))
                    Line(out, "fp %.3f %.3f", p.x, p.y);
                else
                    Line(out, "fp %.3f %.3f %.3f", p.x, p.y, p.z);
            }
        };
        points(f.points);
        if (f.type == 5) {
            Line(out, "next-list");
            points(f.second);
        }
    }
    out += '\n';
    const auto stations = Stations();
    for (const Xyz& st : stations) Line(out, "part-point %.3f %.3f %.3f 996633", st.x, st.y, StationZ(st));
    for (const Xyz& st : stations) Line(out, "part-vertex %.3f %.3f %.3f", st.x, st.y, StationZ(st));
    for (int i = 0; i < int(stations.size()); ++i) Line(out, "part-line %d %d %d", i, (i + 1) % int(stations.size()), 100 + i);
    out += '\n';
    // Buildings take the building kind's stores 0 and 1.
    Building(out, 0, kHouse, 5.5, 2.0);
    Building(out, 1, kShed, 4.0, 0.0);
    return out;
}

}  // namespace hostfile

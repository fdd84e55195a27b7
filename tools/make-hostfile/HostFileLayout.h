#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hostfile {

inline constexpr std::uint32_t kMagic = 0x40474C56;
inline constexpr std::uint16_t kHostVersion = 0x0100;
inline constexpr double kNoElevation = 1e-16;

inline constexpr std::int32_t kFlagCad = 0x01;
inline constexpr std::int32_t kFlagGroup = 0x02;
inline constexpr std::int32_t kFlagPart = 0x04;
inline constexpr std::int32_t kFlagViewCloud = 0x08;

struct Xyz {
    double x = 0, y = 0, z = 0;
};

struct Figure {
    std::uint8_t type = 1;
    std::int32_t attribute = 0;
    std::int32_t colour = 0;
    double elevation = kNoElevation;
    std::vector<Xyz> points;
    std::int32_t extra1 = 0, extra2 = 0;      // type 13 only
    std::int32_t secondSwitch = 0;            // type 5 only
    std::vector<Xyz> second;                  // type 5 with the switch set
};

struct PartPoint {
    Xyz p;
    std::uint32_t colour = 0;
};

struct PartLine {
    std::int32_t first = 0, second = 0, value = 0;
};

struct GroupPoint {
    Xyz p;
    std::uint32_t colour = 0;
    double intensity = 0;
};

// Everything a host data file holds, in host coordinates, as the host writes it.
struct HostFileLayout {
    std::uint32_t magic = kMagic;
    std::uint16_t version = kHostVersion;
    std::int32_t flags = 0;
    std::uint8_t hostTransform[74] = {};
    double x0 = 0, y0 = 0;
    Xyz corners[4];                           // z unused: two doubles each on disk
    std::string cadText;                      // UTF-8
    std::int32_t figureCountOverride = 0;     // non-zero: written instead of figures.size()
    std::vector<Figure> figures;
    std::vector<PartPoint> partPoints;
    std::vector<Xyz> partVertices;
    std::vector<PartLine> partLines;
    std::vector<Xyz> viewCloud;
    std::string groupName;                    // UTF-8
    bool groupNameWide = false;               // write the name in the wide form
    std::int32_t groupCountOverride = 0;      // non-zero: written instead of groupPoints.size()
    Xyz groupReference;
    std::vector<GroupPoint> groupPoints;
};

// Polygons of pipe command 18: host coordinates.
struct PolygonFileLayout {
    std::vector<std::vector<Xyz>> polygons;
};

}  // namespace hostfile

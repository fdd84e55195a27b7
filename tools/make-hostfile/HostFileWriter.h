#pragma once

#include "HostFileLayout.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace hostfile {

// The bytes of a host data file; false when a text cannot be written in CP932.
bool WriteHostFile(const HostFileLayout& layout, std::vector<std::uint8_t>& out);
// The bytes of a polygon file for pipe command 18.
std::vector<std::uint8_t> WritePolygonFile(const PolygonFileLayout& layout);

// A host overlay file (pipe command 20): origin, working-area corners, then
// points, segments and polygons, each with a colour. Counts are written as given
// (a negative count means none to the viewer).
struct OverlayFileLayout {
    double originA = 0.0, originB = 0.0;
    std::vector<std::array<double, 2>> corners{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    std::vector<std::array<double, 4>> points;             // x, y, z, colour
    std::vector<std::array<double, 7>> segments;           // x1, y1, z1, x2, y2, z2, colour
    std::vector<std::vector<std::array<double, 3>>> polygons;
    std::uint32_t polygonColour = 0x00FF00;
};
std::vector<std::uint8_t> WriteOverlayFile(const OverlayFileLayout& layout);
//! An overlay with p points, s segments and g square polygons around the example origin.
OverlayFileLayout MakeOverlayExample(int points, int segments, int polygons);

// Sizes of a generated example.
struct ExampleCounts {
    int points = 0;      // group points (flag 0x02)
    int tin = 0;         // view-cloud points, from which the viewer builds its TIN (0x08)
    int cad = 0;         // CAD figures (0x01)
    int part = 0;        // part drawing points and vertices (0x04)
    std::string name = "点群";
};

// Points lie on a known slope: z = kSlopeBase + kSlopeX * (X - x0) + kSlopeY * (Y - y0).
inline constexpr double kSlopeBase = 50.0;
inline constexpr double kSlopeX = 0.1;
inline constexpr double kSlopeY = 0.05;
inline constexpr double kExampleX0 = -12000.0;
inline constexpr double kExampleY0 = -34000.0;

HostFileLayout MakeExample(const ExampleCounts& counts);

// Damages a file: "magic", "version", "huge-count", "bad-index",
// "unterminated-string", or "cut:K" (the first K bytes). False for an unknown kind.
bool MakeBroken(const std::string& kind, const ExampleCounts& counts, std::vector<std::uint8_t>& out);

bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace hostfile

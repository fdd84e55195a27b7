#pragma once

#include "outside/POLY.h"
#include "outside/PT.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The host's overlay file (pipe command 20): its origin, working-area corners,
// points, segments and polygons, read whole and checked before anything of the
// view is touched. Coordinates are the host's; the view maps them through its
// user transform when it installs them.
//
// Layout (little-endian, packed): uint32 magic 0x40474C56, uint16 version 0x0100,
// a 74-byte transform record (not used), double A, double B (the host's origin),
// 4 x (double x, double y) corners, int32 point count and per point double x, y, z,
// uint32 colour; int32 segment count and per segment double x1, y1, z1, x2, y2, z2,
// uint32 colour; int32 polygon count and per polygon uint16 m, m x (double x, y, z),
// uint32 colour. A count of 0 or less means none.
struct HostPolygonContent {
    struct Point {
        PT pt;
        std::uint32_t colour = 0;
    };
    struct Segment {
        PT from;
        PT to;
        std::uint32_t colour = 0;
    };
    struct Polygon {
        POLY poly;
        std::uint32_t colour = 0;
    };

    double originA = 0.0;
    double originB = 0.0;
    std::array<PT, 4> corners;
    std::vector<Point> points;
    std::vector<Segment> segments;
    std::vector<Polygon> polygons;
    //! Bytes the file holds after its last polygon: not read, only reported.
    std::uint64_t bytesAfterLastPolygon = 0;
};

class HostPolygonFile {
public:
    enum class Result { Ok, Missing, CannotOpen, WrongMagic, WrongVersion, Damaged };

    //! Reads the whole file into out. Counts are bounded by the bytes left, every
    //! coordinate must be finite; a file that ends early is Damaged and out is left
    //! empty. Bytes after the last polygon leave the records whole (Ok) and are
    //! counted in out.bytesAfterLastPolygon.
    static Result Read(const std::string& path, HostPolygonContent& out, std::string* error = nullptr);
    //! Only a file read whole may be consumed (deleted); a damaged or foreign file
    //! stays where it is for whoever wants to see what went wrong.
    static bool MayDelete(Result r) { return r == Result::Ok; }
};

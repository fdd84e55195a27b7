#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The LandXML library's records: the attributes of the project, the application
// and the coordinate system (texts in UTF-8, each at most 127 bytes in its CP932
// form), and a surface as vertices and triangles.

struct LxDATA_Project {
    std::string name;
    std::string desc;
    std::string projectPhase;
    std::string applicationCriterion;
};

struct LxDATA_Application {
    std::string manufacturer;
    std::string manufacturerURL;
    std::string timeStamp;          // "%Y-%m-%d %H:%M:%S", as the profile keeps it
    std::string name;
    std::string version;
};

struct LxDATA_Coordinate {
    std::string name;
    std::string horizontalDatum;
    std::string verticalDatum;
    std::string planeCoordinateName;    // "9(X,Y)"
    std::string planeCoordinateDesc;    // "第9系"
    double differTP = 0.0;              // difference to the vertical datum, m
};

// A surface vertex in host survey coordinates: x north, y east.
struct CLxVertex {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Corner indices, 0-based into the surface's vertex list.
struct CLxIndexedTriangle {
    std::uint32_t idx[3] = {0, 0, 0};
};

using LxVertexLists = std::vector<std::vector<CLxVertex>>;
using LxTriangleLists = std::vector<std::vector<CLxIndexedTriangle>>;

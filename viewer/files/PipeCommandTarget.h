#pragma once

#include <cstdint>
#include <string>

// What the pipe server asks of the view: one call per served command. Paths
// arrive as UTF-8, already checked for their terminator and decoded. The view
// implements it through ViewPipeCommandTarget; tests use a double.
class PipeCommandTarget {
public:
    virtual ~PipeCommandTarget() = default;
    // Command 1: 1 when something was loaded.
    virtual int LoadHostDataFile(const std::string& path) = 0;
    // Command 4: number of items written.
    virtual int WriteExchangeFile(const std::string& path, std::int32_t contentFlags,
                                  std::int32_t pointLimit) = 0;
    // Command 18: points written over all polygons.
    virtual int ExportPointsInPolygons(const std::string& path) = 0;
    // Command 19: triangles written.
    virtual int WriteShownTins(const std::string& path) = 0;
    // Command 20.
    virtual int ReadHostPolygonFile(const std::string& path) = 0;
    // Command 21.
    virtual int ClearHostPolygons() = 0;
};

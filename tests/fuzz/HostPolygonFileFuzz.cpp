// The host overlay (polygon) file reader on any bytes.
#include "FuzzFiles.h"

#include "viewer/files/HostPolygonFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::InputFile file(data, size);
    HostPolygonContent content;
    std::string error;
    const auto result = HostPolygonFile::Read(file.Path(), content, &error);
    // A file that is not read whole leaves nothing behind.
    if (result != HostPolygonFile::Result::Ok &&
        (!content.points.empty() || !content.segments.empty() || !content.polygons.empty()))
        std::abort();
    return 0;
}

// The bitmap reader on any bytes, from memory and from a file.
#include "FuzzFiles.h"

#include "viewer/render/BmpReader.h"
#include "viewer/render/Dib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Dib fromBytes;
    BmpReader::ReadBytes({data, size}, fromBytes);
    fuzzsupport::InputFile file(data, size);
    Dib fromFile;
    BmpReader::ReadFile(file.Path(), fromFile);
    return 0;
}

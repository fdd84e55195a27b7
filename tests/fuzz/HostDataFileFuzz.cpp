// The host data file reader on any bytes, with and without a survey transform set
// before the file.
#include "FuzzFiles.h"

#include "viewer/files/HostDataContent.h"
#include "viewer/files/HostDataFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::InputFile file(data, size);
    for (const bool transformSet : {false, true}) {
        HostDataContent content;
        HostDataFileReader reader(MTRX(), transformSet);
        reader.Read(file.Path(), content);
    }
    return 0;
}

// Sheet templates (.vst) from any text.
#include "FuzzFiles.h"

#include "hostfw/VstTemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    VstTemplate sheet;
    std::string error;
    if (sheet.Parse(std::string(reinterpret_cast<const char*>(data), size), error)) {
        for (const VstTemplate::Cell& cell : sheet.Cells()) sheet.FindCode(cell.code);
    }
    return 0;
}

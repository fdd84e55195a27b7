// lasconsole's point dump reader: any bytes are converted to a LAS file in the scratch
// folder; a failed conversion leaves no file behind.
#include "FuzzFiles.h"

#include "LasConsole.h"

#include <cstdlib>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::InputFile file(data, size);
    const std::string las = fuzzsupport::ScratchFolder() + "points.las";
    std::string error;
    const bool ok = lasconsole::ConvertDumpToLas(file.Path(), las, error);
    if (!ok && !std::filesystem::is_empty(fuzzsupport::ScratchFolder())) std::abort();
    fuzzsupport::ClearScratchFolder();
    return 0;
}

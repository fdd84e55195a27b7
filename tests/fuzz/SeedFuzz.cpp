// The part-system seed: any bytes are parsed, and a seed that parses is applied to a
// part system and host folders in this process's scratch folder.
#include "FuzzFiles.h"

#include "hostfw/PartSystem.h"
#include "hostfw/PartSystemSeed.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool folderSet = [] {
        ::setenv("PARTHOST_DATA_DIR", (fuzzsupport::ScratchFolder() + "data").c_str(), 1);
        return true;
    }();
    (void)folderSet;
    PartSystemSeed seed;
    std::string error;
    if (!seed.Parse(std::string(reinterpret_cast<const char*>(data), size), error)) return 0;
    seed.Apply(fuzzsupport::ScratchFolder() + "parts.db", error);
    fuzzsupport::ClearScratchFolder();
    return 0;
}

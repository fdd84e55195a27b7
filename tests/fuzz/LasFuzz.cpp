// lazpack's LAS reader: any bytes are compressed into the scratch folder. A
// refused input leaves no file behind; an accepted one decodes, with the tests'
// own LAZ decoder, into exactly the records it was made from.
#include "FuzzFiles.h"

#include "LazDecoder.h"
#include "LazPack.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::InputFile file(data, size);
    const std::string laz = fuzzsupport::ScratchFolder() + "points.laz";
    std::string error;
    const bool ok = lazpack::CompressLasFile(file.Path(), laz, error, 7);
    if (!ok) {
        if (!std::filesystem::is_empty(fuzzsupport::ScratchFolder())) std::abort();
    } else {
        laztest::LazFile decoded;
        if (!laztest::ReadLaz(laz, decoded, error)) std::abort();
    }
    fuzzsupport::ClearScratchFolder();
    return 0;
}

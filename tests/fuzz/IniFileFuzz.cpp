// The plug-ins' CP932 profile files: any bytes are read, a key is set and the file
// saved, and the saved file must give back what was set.
#include "FuzzFiles.h"

#include "hostfw/IniFile.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::InputFile file(data, size);
    IniFile ini;
    std::string error;
    if (!ini.Load(file.Path(), error)) return 0;
    ini.Get("Settings", "Path");
    ini.Get("基準点", "品質評価表");
    ini.Remove("Settings", "Old");
    if (!ini.Set("Settings", "Path", "測量 \"x\" = 1")) std::abort();

    const std::string saved = fuzzsupport::ScratchFolder() + "saved.ini";
    if (!ini.Save(saved, error)) {
        std::fprintf(stderr, "save failed: %s\n", error.c_str());
        std::abort();
    }
    IniFile again;
    if (!again.Load(saved, error) || again.Get("Settings", "Path") != ini.Get("Settings", "Path")) {
        std::fprintf(stderr, "a saved profile does not read back what was set\n");
        std::abort();
    }
    return 0;
}

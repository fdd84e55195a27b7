// The viewer's profile (INI through QSettings): any bytes as the profile file, read,
// then written to and read again.
#include "FuzzFiles.h"

#include "platform/IniProfile.h"

#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = fuzzsupport::ScratchFolder() + "profile.ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    {
        auto profile = tessara::IniProfile::AtPath(path);
        profile->GetProfileString("Recent File List", "File1");
        profile->GetProfileInt("Settings", "PointSize", 3);
        profile->GetProfileDouble("Settings", "Scale", 1.0);
        profile->WriteProfileInt("Settings", "PointSize", 4);
        profile->WriteProfileString("Recent File List", "File1", "/tmp/モデル.tpf");
    }
    auto again = tessara::IniProfile::AtPath(path);
    again->GetProfileString("Recent File List", "File1");
    fuzzsupport::ClearScratchFolder();
    return 0;
}

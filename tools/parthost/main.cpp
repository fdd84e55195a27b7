// parthost: the plug-ins' host stand-in (see docs/ARCHITECTURE.md).
#include "PartHost.h"
#include "PartHostOptions.h"

#include "hostfw/PeldaIni.h"
#include "platform/QtTranslations.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    PartHostOptions options;
    std::string error;
    if (!options.Parse(args, error)) {
        std::fprintf(stderr, "parthost: %s\n%s", error.c_str(), PartHostOptions::Usage());
        return 2;
    }
    // The run's data root lies in the output folder unless the caller chose one.
    if (!std::getenv("PARTHOST_DATA_DIR")) {
        const std::string root = (std::filesystem::absolute(options.out) / "data").string();
        setenv("PARTHOST_DATA_DIR", root.c_str(), 1);
    }
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt reads options such as -plugin from its argument list: give it the program name only.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    tessara::InstallQtJapaneseTranslations(app);
    PartHost host;
    return host.Run(options);
}

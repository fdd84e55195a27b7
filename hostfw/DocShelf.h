#pragma once

#include "hostfw/HostTypes.h"

// Name of the binder's small library that answers IsListFileDocmet, loaded by name
// (dlopen) from the plug-in data folder, then the library path.
inline constexpr const char* kDocShelfLibrary = "docshelf.so";
inline constexpr const char* kIsListFileDocmetName = "IsListFileDocmet";

// Signature of its export: non-zero when the data file is a list-file document.
extern "C" {
using IsListFileDocmetFn = int (*)(const char* dataFilePath);
}

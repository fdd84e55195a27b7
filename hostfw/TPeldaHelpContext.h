#pragma once

#include "hostfw/HostTypes.h"

#include <string>

// One help topic of a module: kind, module file name, index and topic text.
struct HOSTFW_API TPeldaHelpContext {
    int kind = 0;
    std::string module;
    int index = 0;
    std::string topic;
};

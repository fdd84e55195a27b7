#pragma once

#include "hostfw/HostTypes.h"

// The host's part-dialog commands the stand-in carries out, each with the short text of
// its tool button and the tooltip that says what it does.
struct HostPartCommand {
    int id;
    const char* text;
    const char* tip;
};

// Null for a command the stand-in does not carry out.
HOSTFW_API const HostPartCommand* FindHostPartCommand(int id);

#pragma once

#include "hostfw/HostTypes.h"

#include <functional>
#include <string>

// Every message box of the host and the plug-ins goes through here, so the host
// stand-in can print and answer them and tests can script them. Without a handler the
// box is shown with Qt when there is an application object, else written to stderr
// and answered with the default button.
using HostMessageHandler =
    std::function<int(const std::string& text, const std::string& caption, unsigned flags)>;

HOSTFW_API int HostMessageBox(const std::string& text, const std::string& caption, unsigned flags);
// Installs a handler (empty: back to the default); answers the previous one.
HOSTFW_API HostMessageHandler SetHostMessageHandler(HostMessageHandler handler);

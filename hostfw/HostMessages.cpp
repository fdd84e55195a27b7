#include "hostfw/HostMessages.h"

#include "platform/MessageBox.h"

#include <QApplication>

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_mutex;
HostMessageHandler g_handler;

} // namespace

int HostMessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    HostMessageHandler handler;
    {
        std::lock_guard lock(g_mutex);
        handler = g_handler;
    }
    if (handler)
        return handler(text, caption, flags);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return tessara::MessageBox(text, caption, flags);
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    return (flags & 0x0Fu) == kMbYesNo ? kIdYes : kIdOk;
}

HostMessageHandler SetHostMessageHandler(HostMessageHandler handler)
{
    std::lock_guard lock(g_mutex);
    HostMessageHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}

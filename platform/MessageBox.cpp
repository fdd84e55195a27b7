#include "platform/MessageBox.h"

#include <mutex>

namespace tessara {
namespace {

std::mutex g_serviceMutex;
std::shared_ptr<MessageBoxService> g_service;

std::shared_ptr<MessageBoxService> CurrentService()
{
    const std::lock_guard lock(g_serviceMutex);
    if (!g_service) {
        g_service = std::make_shared<QtMessageBoxService>();
    }
    return g_service;
}

} // namespace

int MessageBox(std::string_view text, std::string_view caption, unsigned flags, QWidget* owner)
{
    // The service is held outside the lock: a box stays open while other threads
    // show theirs or the service is replaced.
    return CurrentService()->Show(text, caption, flags, owner);
}

void CancelPendingMessageBoxes()
{
    CurrentService()->CancelPending();
}

std::shared_ptr<MessageBoxService> SetMessageBoxService(std::shared_ptr<MessageBoxService> service)
{
    const std::lock_guard lock(g_serviceMutex);
    std::shared_ptr<MessageBoxService> previous = std::move(g_service);
    g_service = std::move(service);
    return previous;
}

} // namespace tessara

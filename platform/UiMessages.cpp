#include "platform/UiMessages.h"

#include <QCoreApplication>

namespace tessara {

std::optional<std::intptr_t> SendUiMessage(UiMessageTarget& target, unsigned message, std::uintptr_t wParam,
                                           std::intptr_t lParam)
{
    return target.Send(message, wParam, lParam);
}

bool PostUiMessage(UiMessageTarget& target, unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    return target.Post(message, wParam, lParam);
}

void PumpPendingEvents()
{
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

} // namespace tessara

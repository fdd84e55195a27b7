#include "viewer/dialogs/ColorDialogService.h"

#include "viewer/dialogs/QtColorDialogService.h"

#include <mutex>

namespace {
std::mutex g_mutex;
std::shared_ptr<ColorDialogService> g_service;
} // namespace

QPoint ColorDialogPlacement::AtCursor(QSize dialog, QRect owner, QPoint cursor)
{
    const int w = dialog.width();
    const int h = dialog.height();
    const int x = cursor.x();
    const int y = cursor.y();
    // The owner's right and bottom edges as the window system counts them (exclusive).
    const int right = owner.x() + owner.width();
    int left = x - w / 2;
    if (x - owner.left() < w / 2)
        left = x;
    else if (right - x < w / 2)
        left = x - w;
    const int top = (y - owner.top() < h) ? y : y - h;
    return {left, top};
}

std::shared_ptr<ColorDialogService> ColorDialogService::Set(std::shared_ptr<ColorDialogService> service)
{
    std::lock_guard lock(g_mutex);
    std::swap(g_service, service);
    return service;
}

std::shared_ptr<ColorDialogService> ColorDialogService::Current()
{
    std::lock_guard lock(g_mutex);
    if (!g_service)
        g_service = std::make_shared<QtColorDialogService>();
    return g_service;
}

std::optional<COLORREF> ChooseColor(COLORREF initial, QWidget* owner, const ColorDialogPlacement& placement,
                                    ColorDialogService::CustomColours* custom)
{
    return ColorDialogService::Current()->Choose(initial, owner, placement, custom);
}

#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <QWindow>

// The one way a test gives a window the keyboard focus.
//
// Test programs share one display, and most run without a window manager: a
// request for the focus (activateWindow) is answered by the X server, and a
// program beside this one may take the focus again between the answer and the
// test's next key. So the window is never asked for through the display: it is
// shown, waited for until it is on screen (an event of its own, bounded only
// against a hang), and made the application's active window directly, with the
// focus on `focus` (else where the window keeps it). Keys and clicks the test
// sends go straight to the widgets, so nothing another program does can take
// the focus away in between.
inline bool TakeFocus(QWidget& window, QWidget* focus = nullptr)
{
    QWidget& top = *window.window();
    if (!top.isVisible())
        top.show();
    const QDeadlineTimer hangLimit(60000);
    while (top.windowHandle() == nullptr || !top.windowHandle()->isExposed()) {
        if (hangLimit.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    QApplication::setActiveWindow(&top);
    if (focus != nullptr)
        focus->setFocus(Qt::OtherFocusReason);
    return QApplication::activeWindow() == &top && (focus == nullptr || focus->hasFocus());
}

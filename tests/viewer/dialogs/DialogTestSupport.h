#pragma once

#include "viewer/dialogs/ControlIds.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// The application object of the dialog tests, made once per program. It is never
// destroyed: at exit the style's icon caches would be torn down after the
// libraries that own them.
inline QApplication& DialogTestApp()
{
    static int argc = 1;
    static char name[] = "dialogs-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Shows w and waits (bounded) until it is the active window, so focus moves work.
// Test programs share one display: another program's window may take the focus
// right after w asked for it, so the request is repeated until w has it.
inline bool ShowActive(QWidget& w)
{
    DialogTestApp();
    w.show();
    QDeadlineTimer hangLimit(60000);
    do {
        w.activateWindow();
        w.raise();
        if (QTest::qWaitForWindowActive(&w, 200))
            return true;
    } while (!hangLimit.hasExpired());
    return false;
}

// The control of a dialog by its template id; a missing one fails the test.
template <class W>
W* Id(const QWidget& dialog, int id)
{
    auto* w = ControlIds::Find<W>(&dialog, id);
    EXPECT_NE(w, nullptr) << "control " << id;
    return w;
}

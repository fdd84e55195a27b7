#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

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
inline bool ShowActive(QWidget& w)
{
    DialogTestApp();
    w.show();
    w.activateWindow();
    w.raise();
    return QTest::qWaitForWindowActive(&w, 60000);
}

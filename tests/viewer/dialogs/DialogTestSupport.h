#pragma once

#include "tests/support/WindowFocus.h"
#include "viewer/dialogs/ControlIds.h"

#include <QApplication>
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

// The control of a dialog by its template id; a missing one fails the test.
template <class W>
W* Id(const QWidget& dialog, int id)
{
    auto* w = ControlIds::Find<W>(&dialog, id);
    EXPECT_NE(w, nullptr) << "control " << id;
    return w;
}

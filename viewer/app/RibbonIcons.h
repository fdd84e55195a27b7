#pragma once

#include <QIcon>

// The ribbon's pictures, drawn by the program: one 32 x 32 icon per command id.
class RibbonIcons {
public:
    static QIcon ForCommand(unsigned id, const QString& text);
};

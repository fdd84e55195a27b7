#pragma once

#include <QFont>

class QWidget;

// The dialogs' font: "Meiryo UI" 9 pt where it is installed, else the Japanese
// face fontconfig matches in its place, so every label's characters have glyphs.
class DialogFont {
public:
    static QFont Font();
    static void Apply(QWidget* dialog);
};

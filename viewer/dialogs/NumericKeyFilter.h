#pragma once

#include <QString>
#include <Qt>

// Judges a key press in a numeric edit by the text it would type. Keys that type
// nothing (arrows, Backspace, Delete, Home...) and shortcuts (with Ctrl, Alt or
// Meta: copy, paste, undo, select all) pass to the edit; typed text is taken only
// when every character may appear in the field's numbers.
class NumericKeyFilter {
public:
    enum class Verdict { Pass, Accept, Refuse };

    static Verdict Judge(const QString& typed, Qt::KeyboardModifiers modifiers, bool decimals);
    static bool IsValidChar(QChar c, bool decimals);
};

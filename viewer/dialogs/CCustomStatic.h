#pragma once

#include <QLabel>

// A static text or icon on a solid background; the filter and TIN dialogs put
// their header on white with it.
class CCustomStatic : public QLabel {
    Q_OBJECT
public:
    explicit CCustomStatic(QWidget* parent = nullptr);
    void SetWhiteBackground();
    bool HasBackground() const { return autoFillBackground(); }
};

#pragma once

#include "viewer/dialogs/EditCommit.h"

#include <QLineEdit>

// The common behaviour of the edits that hold their own value: the value is shown
// on every focus gain, resize and focus loss, and focus loss takes the text first.
class SelfValueEdit : public QLineEdit, public EditCommit {
    Q_OBJECT
public:
    explicit SelfValueEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
    virtual void ShowValue() = 0;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

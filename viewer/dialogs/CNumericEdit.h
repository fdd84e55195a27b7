#pragma once

#include "viewer/dialogs/EditCommit.h"

#include <QLineEdit>

// An edit of a number that lives outside the control (bound through a pointer by
// the subclasses). It refuses typed characters that cannot belong to the number
// with a beep, selects its whole text when it gains the focus or is first
// clicked, and on focus loss takes its text into the bound value (a text that is
// not a number in range is dropped) and shows the bound value again.
class CNumericEdit : public QLineEdit, public EditCommit {
    Q_OBJECT
public:
    explicit CNumericEdit(QWidget* parent = nullptr);

    //! Shows the bound value.
    void UpdateText();
    //! What focus loss does: text into the value, then the value shown.
    void CommitText() override;

protected:
    virtual bool IsValidChar(QChar c) const;
    virtual void SetValueFromText(const QString& text);
    virtual QString FormatValue() const;
    virtual void OnKillFocus();

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    //! True for the fields that take a decimal point.
    virtual bool TakesDecimals() const { return false; }

private:
    bool m_focusByClick = false;   // the focus came with the press being delivered
    bool m_swallowingClick = false;
};

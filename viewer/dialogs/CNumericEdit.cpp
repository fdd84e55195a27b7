#include "viewer/dialogs/CNumericEdit.h"

#include "viewer/dialogs/BeepHook.h"
#include "viewer/dialogs/NumericKeyFilter.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

CNumericEdit::CNumericEdit(QWidget* parent) : QLineEdit(parent) {}

void CNumericEdit::UpdateText()
{
    setText(FormatValue());
}

void CNumericEdit::CommitText()
{
    SetValueFromText(text());
    UpdateText();
}

bool CNumericEdit::IsValidChar(QChar) const
{
    return false;
}

void CNumericEdit::SetValueFromText(const QString&) {}

QString CNumericEdit::FormatValue() const
{
    return {};
}

void CNumericEdit::OnKillFocus()
{
    CommitText();
}

void CNumericEdit::keyPressEvent(QKeyEvent* event)
{
    const auto verdict = NumericKeyFilter::Judge(event->text(), event->modifiers(), TakesDecimals());
    bool refused = verdict == NumericKeyFilter::Verdict::Refuse;
    if (verdict == NumericKeyFilter::Verdict::Accept) {
        for (const QChar c : event->text())
            refused = refused || !IsValidChar(c);
    }
    if (refused) {
        BeepHook::Beep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CNumericEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    m_focusByClick = event->reason() == Qt::MouseFocusReason;
    selectAll();
}

void CNumericEdit::focusOutEvent(QFocusEvent* event)
{
    m_focusByClick = false;
    // A pop-up menu of the edit itself takes the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason)
        OnKillFocus();
    QLineEdit::focusOutEvent(event);
}

void CNumericEdit::mousePressEvent(QMouseEvent* event)
{
    // The click that brings the focus in leaves the whole text selected (the
    // application gives the focus before it delivers the press); the next one
    // places the caret.
    if (event->button() == Qt::LeftButton && (m_focusByClick || !hasFocus())) {
        m_focusByClick = false;
        m_swallowingClick = true;
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
        m_focusByClick = false;
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void CNumericEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (m_swallowingClick) {
        event->accept();
        return;
    }
    QLineEdit::mouseMoveEvent(event);
}

void CNumericEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_swallowingClick) {
        m_swallowingClick = false;
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

#include "viewer/dialogs/SelfValueEdit.h"

#include <QFocusEvent>

void SelfValueEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        ShowValue();
}

void SelfValueEdit::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() != Qt::PopupFocusReason)
        CommitText();
    QLineEdit::focusOutEvent(event);
}

void SelfValueEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    if (!hasFocus())
        ShowValue();
}

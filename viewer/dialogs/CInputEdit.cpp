#include "viewer/dialogs/CInputEdit.h"

#include <QKeyEvent>

CInputEdit::CInputEdit(QWidget* parent) : QLineEdit(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
    hide();
}

void CInputEdit::Begin(int row, int column, const QRect& cell, const QString& text, bool selectAll)
{
    m_row = row;
    m_column = column;
    m_before = text;
    setGeometry(cell.left() + 2, cell.top() + 2, column == 0 ? 50 : 100, cell.height());
    setText(text);
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    if (selectAll)
        this->selectAll();
    else
        setCursorPosition(static_cast<int>(text.size()));
}

void CInputEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        const int row = m_row;
        const int column = m_column;
        const QString text = event->key() == Qt::Key_Escape ? m_before : this->text();
        event->accept();
        End();
        emit Finished(row, column, text);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CInputEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    End();
}

void CInputEdit::End()
{
    if (m_row < 0)
        return;
    m_row = -1;
    m_column = -1;
    clear();
    hide();
}

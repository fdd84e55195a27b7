#include "viewer/dialogs/CCustomDblEdit.h"

CCustomDblEdit::CCustomDblEdit(QWidget* parent) : SelfValueEdit(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
    ShowValue();
}

void CCustomDblEdit::SetValue(double value)
{
    m_value = value;
    ShowValue();
}

bool CCustomDblEdit::StepValue(double delta)
{
    const bool taken = m_range.Step(m_value, delta);
    ShowValue();
    return taken;
}

void CCustomDblEdit::ShowValue()
{
    setText(QString::fromStdString(m_range.Format(m_value)));
}

void CCustomDblEdit::CommitText()
{
    m_range.TakeText(text().toStdString(), m_value);
    ShowValue();
}

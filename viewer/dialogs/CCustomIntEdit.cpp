#include "viewer/dialogs/CCustomIntEdit.h"

#include "viewer/dialogs/NumberText.h"

CCustomIntEdit::CCustomIntEdit(QWidget* parent) : SelfValueEdit(parent)
{
    ShowValue();
}

void CCustomIntEdit::SetValue(int value)
{
    m_value = value;
    ShowValue();
}

bool CCustomIntEdit::StepValue(int delta)
{
    const bool taken = m_range.Step(m_value, delta);
    ShowValue();
    return taken;
}

void CCustomIntEdit::ShowValue()
{
    setText(QString::fromStdString(NumberText::FormatInteger(m_value)));
}

void CCustomIntEdit::CommitText()
{
    m_range.TakeText(text().toStdString(), m_value);
    ShowValue();
}

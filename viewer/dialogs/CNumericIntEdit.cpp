#include "viewer/dialogs/CNumericIntEdit.h"

#include "viewer/dialogs/NumberText.h"
#include "viewer/dialogs/NumericKeyFilter.h"

CNumericIntEdit::CNumericIntEdit(QWidget* parent) : CNumericEdit(parent) {}

void CNumericIntEdit::Bind(int* value, int min, int max)
{
    m_value = value;
    m_range = IntRange(min, max);
    UpdateText();
}

void CNumericIntEdit::SetValue(int x)
{
    if (m_value && m_range.Contains(x))
        *m_value = x;
    UpdateText();
}

bool CNumericIntEdit::IsValidChar(QChar c) const
{
    return NumericKeyFilter::IsValidChar(c, false);
}

void CNumericIntEdit::SetValueFromText(const QString& text)
{
    if (m_value)
        m_range.TakeText(text.toStdString(), *m_value);
}

QString CNumericIntEdit::FormatValue() const
{
    return m_value ? QString::fromStdString(NumberText::FormatInteger(*m_value)) : QString();
}

#include "viewer/dialogs/CNumericDoubleEdit.h"

#include "viewer/dialogs/NumericKeyFilter.h"

CNumericDoubleEdit::CNumericDoubleEdit(QWidget* parent) : CNumericEdit(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void CNumericDoubleEdit::Bind(double* value, double min, double max, int precision)
{
    m_value = value;
    m_range = DecimalRange(min, max, precision);
    UpdateText();
}

void CNumericDoubleEdit::SetValue(double x)
{
    if (m_value && m_range.Contains(x))
        *m_value = x;
    UpdateText();
    SetValueFromText(text());
    UpdateText();
}

bool CNumericDoubleEdit::StepValue(double delta)
{
    if (!m_value)
        return false;
    const bool taken = m_range.Step(*m_value, delta);
    UpdateText();
    return taken;
}

bool CNumericDoubleEdit::IsValidChar(QChar c) const
{
    return NumericKeyFilter::IsValidChar(c, true);
}

void CNumericDoubleEdit::SetValueFromText(const QString& text)
{
    if (m_value)
        m_range.TakeText(text.toStdString(), *m_value);
}

QString CNumericDoubleEdit::FormatValue() const
{
    return m_value ? QString::fromStdString(m_range.Format(*m_value)) : QString();
}

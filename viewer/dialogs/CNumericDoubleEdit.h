#pragma once

#include "viewer/dialogs/CNumericEdit.h"
#include "viewer/dialogs/DecimalRange.h"

// A bound edit of a double owned by the dialog, shown with a fixed number of
// decimals. The input method stays off: the field takes only ASCII digits.
class CNumericDoubleEdit : public CNumericEdit {
    Q_OBJECT
public:
    explicit CNumericDoubleEdit(QWidget* parent = nullptr);

    void Bind(double* value, double min, double max, int precision);
    //! x into the bound value when in range; the text and the value then agree.
    void SetValue(double x);
    //! An arrow step (rounded to the decimals) taken when the result is in range.
    bool StepValue(double delta);
    const DecimalRange& Range() const { return m_range; }
    double* Bound() const { return m_value; }

protected:
    bool IsValidChar(QChar c) const override;
    void SetValueFromText(const QString& text) override;
    QString FormatValue() const override;
    bool TakesDecimals() const override { return true; }

private:
    double* m_value = nullptr;
    DecimalRange m_range;
};

#pragma once

#include "viewer/dialogs/DecimalRange.h"

#include "viewer/dialogs/SelfValueEdit.h"

// An edit that holds its own double, its decimals and its range; on focus loss a
// number in range replaces the value, anything else is dropped, and the value is
// shown again in fixed notation.
class CCustomDblEdit : public SelfValueEdit {
    Q_OBJECT
public:
    explicit CCustomDblEdit(QWidget* parent = nullptr);

    double Value() const { return m_value; }
    //! Sets the value as the owner does, without a range test, and shows it.
    void SetValue(double value);
    void SetRange(double min, double max) { m_range = DecimalRange(min, max, m_range.Decimals()); }
    void SetDecimals(int decimals) { m_range = DecimalRange(m_range.Min(), m_range.Max(), decimals); }
    const DecimalRange& Range() const { return m_range; }
    //! An arrow step rounded to the decimals, taken when in range; shows the value.
    bool StepValue(double delta);
    void ShowValue() override;
    void CommitText() override;

private:
    double m_value = 0.0;
    DecimalRange m_range{0.0, 100.0, 3};
};

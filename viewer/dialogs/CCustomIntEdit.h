#pragma once

#include "viewer/dialogs/IntRange.h"
#include "viewer/dialogs/SelfValueEdit.h"

// An edit that holds its own int and its range; on focus loss a number in range
// replaces the value, anything else is dropped, and the value is shown again.
class CCustomIntEdit : public SelfValueEdit {
    Q_OBJECT
public:
    explicit CCustomIntEdit(QWidget* parent = nullptr);

    int Value() const { return m_value; }
    //! Sets the value as the owner does, without a range test, and shows it.
    void SetValue(int value);
    void SetRange(int min, int max) { m_range = IntRange(min, max); }
    const IntRange& Range() const { return m_range; }
    //! An arrow step taken when the result lies in range; shows the value.
    bool StepValue(int delta);
    void ShowValue() override;
    void CommitText() override;

private:
    int m_value = 0;
    IntRange m_range{0, 100};
};

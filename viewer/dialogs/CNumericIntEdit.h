#pragma once

#include "viewer/dialogs/CNumericEdit.h"
#include "viewer/dialogs/IntRange.h"

// A bound edit of an int owned by the dialog.
class CNumericIntEdit : public CNumericEdit {
    Q_OBJECT
public:
    explicit CNumericIntEdit(QWidget* parent = nullptr);

    void Bind(int* value, int min, int max);
    //! x into the bound value when in range; the text shows the bound value.
    void SetValue(int x);
    const IntRange& Range() const { return m_range; }
    int* Bound() const { return m_value; }

protected:
    bool IsValidChar(QChar c) const override;
    void SetValueFromText(const QString& text) override;
    QString FormatValue() const override;

private:
    int* m_value = nullptr;
    IntRange m_range;
};

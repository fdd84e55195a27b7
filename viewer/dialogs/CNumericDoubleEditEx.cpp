#include "viewer/dialogs/CNumericDoubleEditEx.h"

#include <cmath>

CNumericDoubleEditEx::CNumericDoubleEditEx(QWidget* parent) : CNumericDoubleEdit(parent) {}

void CNumericDoubleEditEx::OnKillFocus()
{
    if (!Bound()) {
        CNumericDoubleEdit::OnKillFocus();
        return;
    }
    const double before = *Bound();
    CNumericDoubleEdit::OnKillFocus();
    const double after = *Bound();
    if (before != after || std::isnan(before) || std::isnan(after))
        emit ValueChanged();
}

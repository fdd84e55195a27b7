#pragma once

#include "viewer/dialogs/CNumericDoubleEdit.h"

// A bound double edit that tells its owner when focus loss changed the value.
class CNumericDoubleEditEx : public CNumericDoubleEdit {
    Q_OBJECT
public:
    explicit CNumericDoubleEditEx(QWidget* parent = nullptr);

signals:
    //! Once per focus loss that changed the bound value.
    void ValueChanged();

protected:
    void OnKillFocus() override;
};

#pragma once

#include "outside/OutsideTypes.h"

#include <QDialog>

class CColorButton;
class CNumericIntEdit;

// "色調追加": the level and colour of a new gradation stop.
class CColorAddDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        int level = 0;
        COLORREF colour = 0;
    };

    explicit CColorAddDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }

private:
    Values m_values;
    CNumericIntEdit* m_level;
    CColorButton* m_sample;
};

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnOk();

    Values m_values;
    //! The level field last lost the focus with a number it could not take (999),
    //! and was not typed into since.
    bool m_levelRefused = false;
    CNumericIntEdit* m_level;
    CColorButton* m_sample;
};

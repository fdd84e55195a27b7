#pragma once

#include <QDialog>

class QRadioButton;

// "TINのCAD図形登録": whether a TIN goes to the host as its lines or its points.
class VurTinToElmDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        short kind = 0;  // "Tin2Cad"/"Type": 0 lines, any other value points; OK stores 0 or 1
    };

    explicit VurTinToElmDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }

private:
    Values m_values;
    QRadioButton* m_lines;
    QRadioButton* m_points;
};

#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QRadioButton;

// "カンマ形式": the scale and axis order of a comma-separated point export.
class CInOutXYZVurDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        int scaleIndex = 0;   // "psKeyScale": 0 x1, 1 x10, 2 x100, 3 x0.1, 4 x0.01
        bool axisXyz = true;  // "psKeyAxis": XYZ (survey) or YXZ (maths)
        std::string path;     // shown only
    };

    static constexpr int kScaleCount = 5;
    //! The factor the export applies for a scale index (1 for an unknown one).
    static double ScaleFactor(int index);
    //! The index the combo shows for a stored one: unknown indexes show "1倍".
    static int ShownScaleIndex(int stored) { return stored >= 0 && stored < kScaleCount ? stored : 0; }

    explicit CInOutXYZVurDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const;

private:
    Values m_values;
    QComboBox* m_scale;
    QRadioButton* m_xyz;
    QRadioButton* m_yxz;
    class QLabel* m_path;
};

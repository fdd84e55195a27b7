#pragma once

#include "viewer/dialogs/ReductionModes.h"
#include "viewer/render/ViewSettings.h"

#include <QDialog>

#include <functional>

class CCustomIntEdit;
class CEXColorCtr;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

// "環境設定": the view's settings. OK writes them into the record it was given;
// "更新" writes and applies them to the running view without closing; "初期値"
// resets the record to the designed defaults at once.
class CGlviewrVurDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        ViewSettings settings;
        //! "更新" and "初期値": puts the record into the view and refreshes it
        //! (background, projection, camera, recolouring on the next paint, height
        //! legend). Empty: nothing is applied until OK.
        std::function<void(const ViewSettings&)> applyNow;
    };

    explicit CGlviewrVurDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }

    void OnOk();
    void OnApply();
    void OnDefaults();

private:
    void BuildControls();
    void Load();
    void WriteBack();

    Values m_values;
    ReductionModes m_modes;
    class TinOptionControls* m_tin;

    QComboBox *m_pointSize, *m_displayType, *m_cadWidth, *m_partWidth, *m_projection, *m_material;
    CEXColorCtr* m_colour;
    QSlider* m_bright;
    QLabel* m_brightLabel;
    QRadioButton *m_black, *m_blue, *m_white, *m_mouseA, *m_mouseB, *m_alignLeft, *m_alignRight;
    QRadioButton* m_pick[4];
    QCheckBox *m_gradient, *m_hideNear, *m_hideNoZ, *m_paleSlope, *m_materialBg, *m_hostCad, *m_hostPart;
    CCustomIntEdit* m_tinLimit;
    QPushButton *m_ok, *m_cancel, *m_apply, *m_defaults;
};

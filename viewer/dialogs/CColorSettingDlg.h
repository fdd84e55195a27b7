#pragma once

#include "outside/CGradationSetting.h"
#include "viewer/dialogs/GradationEditor.h"

#include <QDialog>

namespace tessara {
class IProfile;
}
class CExColorListCtrl;
class CInputEdit;
class QComboBox;
class QPushButton;

// "色設定": picks the current height-colour gradation, registers copies under new
// names, deletes user settings and edits their stops, with a live colour bar.
// It edits its own copy of the store; OK saves it, and the caller reloads the
// view's store from the profile.
class CColorSettingDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        CGradationSetting store;                // loaded by the caller
        tessara::IProfile* profile = nullptr;   // where it is saved; null: the application profile
    };

    explicit CColorSettingDlg(QWidget* parent);
    void SetValues(const Values& values);
    Values GetValues() const { return m_values; }

    void OnRegister();
    void OnDeleteSetting();
    void OnAddStop();
    void OnDeleteStop();
    void OnOk();
    //! The in-place editor's result for a row.
    void OnLevelEdited(int row, int column, const QString& text);
    //! Starts the in-place editor on the selected row (digit: its text; else the level, selected).
    void StartLevelEdit(int row, const QString& digit);
    //! The bar's rectangle and the colour of its pixel row i.
    QRect BarRect() const;
    COLORREF BarRowColour(int i) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillCombo();
    void Refill(int selectRow);
    void ApplyEnabling();

    Values m_values;
    GradationEditor m_editor{m_values.store};
    QComboBox* m_combo;
    CExColorListCtrl* m_list;
    CInputEdit* m_input;
    QWidget* m_bar;
    QPushButton *m_register, *m_deleteSetting, *m_addStop, *m_deleteStop;
};

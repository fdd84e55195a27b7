#pragma once

#include <QDialog>

namespace tessara {
class UiMessageTarget;
}
class CNumericDoubleEdit;
class QRadioButton;
struct ViewSettings;

// "削除": the tool window choosing what the deletion applies to and the
// elevation range. OK writes the record and posts "apply" (WM_USER+0x69) to the
// view, then "closed" (WM_USER+0x6A); キャンセル, Escape and the close button
// post only "closed". The view deletes the dialog when "closed" arrives.
class CDeleteDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr unsigned kMsgApply = 0x0400 + 0x69;
    static constexpr unsigned kMsgClosed = 0x0400 + 0x6A;
    static constexpr double kElevationLimit = 9999.9999;

    //! settings and target stay the view's; both outlive the dialog.
    CDeleteDlg(ViewSettings* settings, QWidget* view, tessara::UiMessageTarget* target);

    //! A picked elevation for the edit that has the focus; false when neither has
    //! it or z is unset. The edit's range applies.
    bool SetPickedElevation(double z);
    //! Centres the dialog on the view (halves truncated toward zero).
    void CentreOnView();

    void OnOk();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ApplyEnabling();
    void Finish(bool apply);

    ViewSettings* m_settings;
    QWidget* m_view;
    tessara::UiMessageTarget* m_target;
    double m_lower = 0.0;
    double m_upper = 100.0;
    bool m_finished = false;
    QRadioButton *m_all, *m_selected, *m_byHeight, *m_inside, *m_outside;
    CNumericDoubleEdit *m_lowerEdit, *m_upperEdit;
};

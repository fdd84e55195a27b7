#pragma once

#include <QDialog>

class QCheckBox;
struct ViewSettings;

// The distance tool's choice of readouts, a child of the view at its top left.
// Each click stores the switch and redraws the view. Escape does nothing: the
// tool, not the user, ends the dialog.
class DstConfDlg : public QDialog {
    Q_OBJECT
public:
    DstConfDlg(ViewSettings* settings, QWidget* view);
    void reject() override {}

private:
    ViewSettings* m_settings;
    QWidget* m_view;
};

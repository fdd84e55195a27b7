#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
struct ViewSettings;

// The distance tool's choice of readouts, a child of the view at its top left.
// Each click stores the switch and redraws the view: through `redraw` when given
// (a view that shows its cached picture on an update must draw the scene again),
// else by an update. Escape does nothing: the tool, not the user, ends the dialog.
class DstConfDlg : public QDialog {
    Q_OBJECT
public:
    DstConfDlg(ViewSettings* settings, QWidget* view, std::function<void()> redraw = {});
    void reject() override {}

private:
    ViewSettings* m_settings;
    QWidget* m_view;
    std::function<void()> m_redraw;
};

#pragma once

#include <QDialog>

#include <functional>

class CNumericDoubleEditEx;
class QCheckBox;
struct ViewSettings;

// The cross-section tool's targets and distances, a child of the view at its top
// left. Every change redraws the cross-section: a click on a target, an edit
// whose value changed when it loses the focus, and arrow steps once the mouse
// button is released. Enter in an edit takes its text; Escape drops it. Escape
// never closes the dialog: the tool ends it.
class DanmenConfDlg : public QDialog {
    Q_OBJECT
public:
    DanmenConfDlg(ViewSettings* settings, QWidget* view, std::function<void()> drawCrossSection);
    void reject() override {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Redraw();

    ViewSettings* m_settings;
    std::function<void()> m_draw;
    bool m_pending = false;
    QCheckBox* m_tin;
    CNumericDoubleEditEx* m_tolerance;
    CNumericDoubleEditEx* m_spacing;
};

#pragma once

#include <QObject>

#include <initializer_list>
#include <vector>

class QAbstractButton;
class QDialog;

// The Enter key in the viewer's dialogs. Qt makes every push button of a dialog
// auto-default, so Enter in an edit would click OK; these dialogs switch that
// off and move the focus on instead.
class DialogKeys : public QObject {
    Q_OBJECT
public:
    enum class Rule {
        EnterAsTab,     // Enter moves on, unless one of the answering buttons has the focus
        EnterMovesFocus, // Enter moves on, Shift+Enter back; no button answers Enter
        EnterAccepts     // Enter clicks the focused answering button, else the first (OK)
    };

    //! Makes every push button of the dialog non-default and installs the rule.
    static DialogKeys* Install(QDialog* dialog, Rule rule, std::initializer_list<QAbstractButton*> answering = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DialogKeys(QDialog* dialog, Rule rule, std::initializer_list<QAbstractButton*> answering);
    QDialog* m_dialog;
    Rule m_rule;
    std::vector<QAbstractButton*> m_answering;
};

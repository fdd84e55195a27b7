#include "viewer/dialogs/DialogKeys.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

DialogKeys::DialogKeys(QDialog* dialog, Rule rule, std::initializer_list<QAbstractButton*> answering)
    : QObject(dialog), m_dialog(dialog), m_rule(rule), m_answering(answering)
{
}

DialogKeys* DialogKeys::Install(QDialog* dialog, Rule rule, std::initializer_list<QAbstractButton*> answering)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto* keys = new DialogKeys(dialog, rule, answering);
    dialog->installEventFilter(keys);
    return keys;
}

bool DialogKeys::eventFilter(QObject* watched, QEvent* event)
{
    // Keys the focused control did not use reach the dialog itself.
    if (watched != m_dialog || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    QWidget* focus = m_dialog->focusWidget();
    if (m_rule == Rule::EnterAsTab || m_rule == Rule::EnterAccepts) {
        for (QAbstractButton* button : m_answering) {
            if (button == focus) {
                button->click();
                return true;
            }
        }
    }
    if (m_rule == Rule::EnterAccepts && !m_answering.empty()) {
        m_answering.front()->click();
        return true;
    }
    const bool back = m_rule == Rule::EnterMovesFocus && (key->modifiers() & Qt::ShiftModifier);
    QKeyEvent tab(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                  back ? Qt::ShiftModifier : Qt::NoModifier);
    QCoreApplication::sendEvent(m_dialog, &tab);
    return true;
}

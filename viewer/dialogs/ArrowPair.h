#pragma once

#include <QWidget>

class QToolButton;

// The up and down arrows beside an edit. They keep no position of their own:
// each click (and auto-repeat while held) reports one step, +1 up and -1 down,
// and the owner moves its edit's value.
class ArrowPair : public QWidget {
    Q_OBJECT
public:
    explicit ArrowPair(QWidget* parent = nullptr);
    QToolButton* Up() const { return m_up; }
    QToolButton* Down() const { return m_down; }

signals:
    void Stepped(int direction);
    //! The mouse button that held an arrow was released.
    void Released();

private:
    QToolButton* m_up;
    QToolButton* m_down;
};

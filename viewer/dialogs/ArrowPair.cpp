#include "viewer/dialogs/ArrowPair.h"

#include <QToolButton>
#include <QVBoxLayout>

ArrowPair::ArrowPair(QWidget* parent) : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(16, 11);
        layout->addWidget(b);
        connect(b, &QToolButton::released, this, [this, b] {
            if (!b->isDown())
                emit Released();
        });
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setObjectName("up");
    m_down->setObjectName("down");
    connect(m_up, &QToolButton::pressed, this, [this] { emit Stepped(+1); });
    connect(m_down, &QToolButton::pressed, this, [this] { emit Stepped(-1); });
}

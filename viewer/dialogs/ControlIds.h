#pragma once

#include <QString>
#include <QWidget>

#include <utility>

// Controls carry their template ids as object names, so callers and tests find
// a control by the id the dialog's description gives it.
class ControlIds {
public:
    template <class W, class... A>
    static W* Create(QWidget* parent, int id, A&&... args)
    {
        auto* w = new W(std::forward<A>(args)..., parent);
        w->setObjectName(QString::number(id));
        return w;
    }
    template <class W>
    static W* Find(const QWidget* dialog, int id)
    {
        return dialog->findChild<W*>(QString::number(id));
    }
};

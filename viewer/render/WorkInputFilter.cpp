#include "viewer/render/WorkInputFilter.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

}  // namespace

WorkInputFilter::WorkInputFilter()
{
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

WorkInputFilter::~WorkInputFilter()
{
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool WorkInputFilter::TakesInput(const QWidget* widget)
{
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (w->property(kTakesInput).toBool()) return true;
    }
    // A modal box opened during the work (the abort question) answers as usual.
    const QWidget* modal = QApplication::activeModalWidget();
    return widget != nullptr && modal != nullptr && widget->window() == modal;
}

bool WorkInputFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsUserInput(event->type())) return false;
    // Input reaches a window first and its widget after; only the widget decides.
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget == nullptr) return false;
    return !TakesInput(widget);
}

#include "platform/QtMessageBoxService.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <cstdio>

namespace tessara {
namespace {

QMessageBox::Icon IconOf(unsigned flags)
{
    switch (flags & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsOf(unsigned flags)
{
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

int AnswerOf(int button, unsigned flags)
{
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return UnattendedAnswer(flags);    // closed without a button
    }
}

} // namespace

int QtMessageBoxService::Show(std::string_view text, std::string_view caption, unsigned flags, QWidget* owner)
{
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QString qcaption = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) {
        std::fprintf(stderr, "%s: %s\n", qcaption.toLocal8Bit().constData(), qtext.toLocal8Bit().constData());
        return UnattendedAnswer(flags);
    }
    if (QThread::currentThread() == app->thread()) {
        return ShowOnUiThread(qtext, qcaption, flags, owner);
    }
    int answer = UnattendedAnswer(flags);
    const QPointer<QWidget> guardedOwner(owner);
    QMetaObject::invokeMethod(
        app, [&] { answer = ShowOnUiThread(qtext, qcaption, flags, guardedOwner.data()); },
        Qt::BlockingQueuedConnection);
    return answer;
}

int QtMessageBoxService::ShowOnUiThread(const QString& text, const QString& caption, unsigned flags,
                                        QWidget* owner)
{
    QMessageBox box(IconOf(flags), caption, text, ButtonsOf(flags), owner);
    const QList<QAbstractButton*> buttons = box.buttons();
    if ((flags & MB_DEFBUTTON2) && buttons.size() >= 2) {
        // Buttons come in the platform's order; the second of the Win32 order is
        // Cancel or No.
        box.setDefaultButton((flags & MB_TYPEMASK) == MB_OKCANCEL ? QMessageBox::Cancel : QMessageBox::No);
    }
    return AnswerOf(box.exec(), flags);
}

} // namespace tessara

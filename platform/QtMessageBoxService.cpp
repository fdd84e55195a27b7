#include "platform/QtMessageBoxService.h"
#include "platform/Log.h"

#include "platform/UiMessageTarget.h"

#include <QApplication>
#include <QMessageBox>
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

// What a worker asks the UI thread to show; travels by pointer in wParam.
struct BoxRequest {
    QString text;
    QString caption;
    QPointer<QWidget> owner;
};

} // namespace

QtMessageBoxService::QtMessageBoxService() = default;

QtMessageBoxService::~QtMessageBoxService() = default;

UiMessageTarget* QtMessageBoxService::WorkerTarget()
{
    const std::lock_guard lock(m_mutex);
    if (m_cancelled) {
        return nullptr;
    }
    if (!m_workerTarget) {
        m_workerTarget = std::make_unique<UiMessageTarget>(
            [](unsigned flags, std::uintptr_t wParam, std::intptr_t) -> std::intptr_t {
                const auto* request = reinterpret_cast<const BoxRequest*>(wParam);
                return ShowOnUiThread(request->text, request->caption, flags, request->owner.data());
            });
    }
    return m_workerTarget.get();
}

void QtMessageBoxService::CancelPending()
{
    const std::lock_guard lock(m_mutex);
    m_cancelled = true;
    if (m_workerTarget) {
        m_workerTarget->Shutdown();
    }
}

int QtMessageBoxService::WaitingWorkers()
{
    const std::lock_guard lock(m_mutex);
    return m_workerTarget ? m_workerTarget->WaitingSenders() : 0;
}

int QtMessageBoxService::Show(std::string_view text, std::string_view caption, unsigned flags, QWidget* owner)
{
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QString qcaption = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) {
        Log("%s: %s", qcaption.toUtf8().constData(), qtext.toUtf8().constData());
        return UnattendedAnswer(flags);
    }
    if (QThread::currentThread() == app->thread()) {
        return ShowOnUiThread(qtext, qcaption, flags, owner);
    }
    UiMessageTarget* target = WorkerTarget();
    if (!target) {
        return UnattendedAnswer(flags);
    }
    const BoxRequest request{qtext, qcaption, QPointer<QWidget>(owner)};
    const auto answer = target->Send(flags, reinterpret_cast<std::uintptr_t>(&request), 0);
    return answer ? static_cast<int>(*answer) : UnattendedAnswer(flags);
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

#include "platform/QtMessageBoxService.h"
#include "platform/gltest/GlTestContext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace tessara {
namespace {

// Answers the next modal message box with the given button and records what it showed.
struct BoxAnswerer {
    QMessageBox::StandardButton press;
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool onUiThread = false;

    // Polls from the UI thread's event loop (the box's own loop runs it).
    void Arm()
    {
        QTimer::singleShot(10, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                Arm();
                return;
            }
            text = box->text();
            caption = box->windowTitle();
            icon = box->icon();
            buttons = box->standardButtons();
            onUiThread = QThread::currentThread() == qApp->thread();
            box->button(press)->click();
        });
    }
};

TEST(QtMessageBoxTest, ShowsOnTheUiThreadForAWorkerAndReturnsTheAnswer)
{
    GlTestContext::EnsureApplication();
    QtMessageBoxService service;
    BoxAnswerer answerer{QMessageBox::Yes, {}, {}, QMessageBox::NoIcon, {}, false};
    answerer.Arm();

    std::atomic<int> answer = 0;
    std::thread worker([&] {
        answer = service.Show("全データを削除しますか？", "ORVANE SurfLook(Free)", MB_YESNO | MB_ICONQUESTION, nullptr);
    });
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (answer == 0 && std::chrono::steady_clock::now() < limit) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    worker.join();
    EXPECT_EQ(answer, IDYES);
    EXPECT_TRUE(answerer.onUiThread);
    EXPECT_EQ(answerer.text.toStdString(), "全データを削除しますか？");
    EXPECT_EQ(answerer.caption.toStdString(), "ORVANE SurfLook(Free)");
    EXPECT_EQ(answerer.icon, QMessageBox::Question);
    EXPECT_EQ(answerer.buttons, QMessageBox::Yes | QMessageBox::No);
}

TEST(QtMessageBoxTest, WarningWithOkOnTheUiThread)
{
    GlTestContext::EnsureApplication();
    QtMessageBoxService service;
    BoxAnswerer answerer{QMessageBox::Ok, {}, {}, QMessageBox::NoIcon, {}, false};
    answerer.Arm();
    EXPECT_EQ(service.Show("ORVANEが応答しません。", "ORVANE SurfLook(Free)", MB_OK | MB_ICONWARNING, nullptr), IDOK);
    EXPECT_EQ(answerer.icon, QMessageBox::Warning);
    EXPECT_EQ(answerer.buttons, QMessageBox::Ok);
}

TEST(QtMessageBoxTest, CancelReleasesAWorkerWaitingForAnAnswer)
{
    GlTestContext::EnsureApplication();
    QtMessageBoxService service;
    std::atomic<int> answer = 0;
    std::thread worker([&] { answer = service.Show("q", "c", MB_YESNO, nullptr); });
    while (service.WaitingWorkers() == 0) std::this_thread::yield();
    // The UI thread is not running events, as in a window's destructor joining a worker.
    service.CancelPending();
    worker.join();
    EXPECT_EQ(answer, IDNO);
    std::thread later([&] { answer = service.Show("q", "c", MB_OKCANCEL, nullptr); });
    later.join();
    EXPECT_EQ(answer, IDCANCEL);
}

} // namespace
} // namespace tessara

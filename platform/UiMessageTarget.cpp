#include "platform/UiMessageTarget.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace tessara {

// Messages wait here, under our own mutex, so every hand-over between threads is
// visible to our own synchronisation (and to ThreadSanitizer); Qt only carries a
// data-less wake-up to the UI thread.
struct UiMessageQueue {
    struct Reply {
        bool finished = false;
        std::intptr_t result = 0;
    };
    struct Request {
        unsigned message = 0;
        std::uintptr_t wParam = 0;
        std::intptr_t lParam = 0;
        std::shared_ptr<Reply> reply;    // null for a posted message
    };

    explicit UiMessageQueue(UiMessageTarget::Handler h) : handler(std::move(h)) {}

    const UiMessageTarget::Handler handler;
    std::mutex mutex;
    std::condition_variable replied;
    bool shutDown = false;
    int waitingSenders = 0;
    std::deque<Request> requests;
};

// Lives on the UI thread; each wake-up runs one queued message there.
class UiMessageReceiver : public QObject {
    Q_OBJECT
public:
    explicit UiMessageReceiver(std::shared_ptr<UiMessageQueue> queue) : m_queue(std::move(queue)) {}

    Q_INVOKABLE void RunOne();

private:
    std::shared_ptr<UiMessageQueue> m_queue;
};

void UiMessageReceiver::RunOne()
{
    UiMessageQueue::Request request;
    {
        const std::lock_guard lock(m_queue->mutex);
        if (m_queue->shutDown || m_queue->requests.empty()) {
            return;
        }
        request = std::move(m_queue->requests.front());
        m_queue->requests.pop_front();
    }
    const std::intptr_t result = m_queue->handler(request.message, request.wParam, request.lParam);
    if (request.reply) {
        const std::lock_guard lock(m_queue->mutex);
        request.reply->finished = true;
        request.reply->result = result;
        m_queue->replied.notify_all();
    }
}

UiMessageTarget::UiMessageTarget(Handler handler)
    : m_queue(std::make_shared<UiMessageQueue>(std::move(handler))),
      m_receiver(std::make_unique<UiMessageReceiver>(m_queue))
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app && app->thread() != QThread::currentThread()) {
        m_receiver->moveToThread(app->thread());
    }
}

UiMessageTarget::~UiMessageTarget()
{
    Shutdown();
    if (m_receiver->thread() != QThread::currentThread()) {
        m_receiver.release()->deleteLater();    // the receiver's own thread deletes it
    }
}

void UiMessageTarget::Shutdown()
{
    const std::lock_guard lock(m_queue->mutex);
    m_queue->shutDown = true;
    m_queue->requests.clear();
    m_queue->replied.notify_all();
}

bool UiMessageTarget::IsShutDown() const
{
    const std::lock_guard lock(m_queue->mutex);
    return m_queue->shutDown;
}

int UiMessageTarget::WaitingSenders() const
{
    const std::lock_guard lock(m_queue->mutex);
    return m_queue->waitingSenders;
}

QThread* UiMessageTarget::UiThread() const
{
    return m_receiver->thread();
}

std::optional<std::intptr_t> UiMessageTarget::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (QThread::currentThread() == m_receiver->thread()) {
        if (IsShutDown()) {
            return std::nullopt;
        }
        return m_queue->handler(message, wParam, lParam);
    }
    const auto reply = std::make_shared<UiMessageQueue::Reply>();
    std::unique_lock lock(m_queue->mutex);
    if (m_queue->shutDown) {
        return std::nullopt;
    }
    m_queue->requests.push_back({message, wParam, lParam, reply});
    QMetaObject::invokeMethod(m_receiver.get(), "RunOne", Qt::QueuedConnection);
    ++m_queue->waitingSenders;
    m_queue->replied.wait(lock, [&] { return reply->finished || m_queue->shutDown; });
    --m_queue->waitingSenders;
    if (!reply->finished) {
        return std::nullopt;
    }
    return reply->result;
}

bool UiMessageTarget::Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    const std::lock_guard lock(m_queue->mutex);
    if (m_queue->shutDown) {
        return false;
    }
    m_queue->requests.push_back({message, wParam, lParam, nullptr});
    QMetaObject::invokeMethod(m_receiver.get(), "RunOne", Qt::QueuedConnection);
    return true;
}

} // namespace tessara

#include "UiMessageTarget.moc"

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QThread;

namespace tessara {

class UiMessageReceiver;
struct UiMessageQueue;

// A window object's message handler, run on the UI thread: (message id, wParam,
// lParam) -> result. Other threads reach it through SendUiMessage and PostUiMessage
// (UiMessages.h), as the pipe worker reports a finished load to the view.
class UiMessageTarget {
public:
    using Handler = std::function<std::intptr_t(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)>;

    // Handles messages on the application's UI thread (the calling thread when there
    // is no application object yet).
    explicit UiMessageTarget(Handler handler);
    // Shuts down first; must run on the UI thread.
    ~UiMessageTarget();
    UiMessageTarget(const UiMessageTarget&) = delete;
    UiMessageTarget& operator=(const UiMessageTarget&) = delete;

    // From now on the handler is never called again: sends waiting for it return at
    // once (not handled), later sends and posts are refused. The owner calls this
    // before it stops the threads that send to it, so none of them stays blocked.
    // Call it on the UI thread.
    void Shutdown();
    bool IsShutDown() const;

    // Blocks until the handler has run on the UI thread and returns its result; runs
    // it directly when called on the UI thread. nullopt when the target is shut down
    // before the handler ran (a pointer passed in lParam then stays the sender's).
    std::optional<std::intptr_t> Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // Queues the message for the UI thread and returns at once; false when shut down.
    bool Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // Senders of other threads blocked in Send right now (tests wait for one before
    // they act on it).
    int WaitingSenders() const;

    QThread* UiThread() const;

private:
    std::shared_ptr<UiMessageQueue> m_queue;
    std::unique_ptr<UiMessageReceiver> m_receiver;
};

} // namespace tessara

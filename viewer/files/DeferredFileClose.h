#pragma once

#include <mutex>
#include <thread>

// Closes descriptors of consumed files on a worker of its own. Closing the last
// descriptor of a large deleted file is when the file system frees its blocks and
// cached pages, which can take longer than the load that read it; the caller answers
// first and the close follows. One close runs at a time; the destructor waits for it.
class DeferredFileClose {
public:
    DeferredFileClose() = default;
    ~DeferredFileClose();
    DeferredFileClose(const DeferredFileClose&) = delete;
    DeferredFileClose& operator=(const DeferredFileClose&) = delete;

    // Takes ownership of fd (ignored when negative). Closes it at once when no
    // worker can be started.
    void Close(int fd);

private:
    std::mutex m_mutex;
    std::thread m_worker;
};

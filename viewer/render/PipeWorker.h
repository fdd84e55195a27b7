#pragma once

#include <functional>
#include <thread>

#include "viewer/render/WorkerStopToken.h"

// Owns the pipe-server worker thread: started once, stopped and joined before
// anything it uses is destroyed. A thread that fails to start is logged and not used.
class PipeWorker {
public:
    using Loop = std::function<void(WorkerStopToken&)>;

    PipeWorker() = default;
    ~PipeWorker();
    PipeWorker(const PipeWorker&) = delete;
    PipeWorker& operator=(const PipeWorker&) = delete;

    //! Starts the loop on its own thread; false (logged) when the thread cannot start.
    bool Start(Loop loop);
    //! Requests the stop (interrupting a blocked call) and joins. Safe to call twice.
    void Stop();
    bool Running() const { return m_thread.joinable(); }
    WorkerStopToken& StopToken() { return m_stop; }

private:
    WorkerStopToken m_stop;
    std::thread m_thread;
};

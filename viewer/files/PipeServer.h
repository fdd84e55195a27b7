#pragma once

#include "outside/CNamedPipe.h"
#include "viewer/files/PipeMessage.h"

#include <atomic>
#include <cstdint>
#include <string>

class PipeCommandTarget;

// The server of the viewer's pipe: waits for the host, reads one record, has the
// view carry the command out and writes the record back, one exchange at a
// time, until command 11 or a stop request. Runs on the pipe worker thread;
// RequestStop may come from any thread.
class PipeServer {
public:
    // Longest wait for a connected client's record: a client that connects and
    // sends nothing gets a zeroed reply instead of holding the pipe.
    static constexpr int kReadTimeoutMs = 5000;

    PipeServer(PipeCommandTarget& target, std::string pipeName);

    // The serve loop (PipeServerThreadProc's body). Returns when the pipe cannot be
    // made, after command 11's reply, or once a stop was requested.
    void Run();
    // Ends Run at once: a blocked Connect, Read or Write returns.
    void RequestStop();

    // Exchanges answered so far (tests and logs).
    std::uint64_t Exchanges() const { return m_exchanges.load(std::memory_order_relaxed); }
    bool Serving() const { return m_serving.load(std::memory_order_acquire); }

private:
    void ServeOne();

    PipeCommandTarget& m_target;
    std::string m_pipeName;
    CNamedPipe m_pipe;
    PipeMessage m_message;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_serving{false};
    std::atomic<std::uint64_t> m_exchanges{0};
};

// The worker's thread procedure: serves the viewer's pipe for the view behind target.
void PipeServerThreadProc(PipeServer& server);

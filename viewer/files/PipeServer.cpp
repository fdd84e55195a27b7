#include "viewer/files/PipeServer.h"
#include "platform/Log.h"

#include "viewer/files/PipeCommandDispatcher.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <thread>

namespace {

// A Connect that fails for another reason than a stop must not make the loop spin.
constexpr auto kConnectRetryPause = std::chrono::milliseconds(20);

}  // namespace

PipeServer::PipeServer(PipeCommandTarget& target, std::string pipeName)
    : m_target(target), m_pipeName(std::move(pipeName))
{
}

void PipeServer::RequestStop()
{
    m_stop.store(true, std::memory_order_release);
    m_pipe.Interrupt();
}

void PipeServer::Run()
{
    if (!m_pipe.Create(m_pipeName)) {
        tessara::Log("pipe server: cannot serve %s; the host cannot reach this viewer",
                     m_pipeName.c_str());
        return;
    }
    m_pipe.SetTimeout(kReadTimeoutMs);
    m_serving.store(true, std::memory_order_release);
    while (!m_stop.load(std::memory_order_acquire)) {
        if (!m_pipe.Connect()) {
            if (m_stop.load(std::memory_order_acquire)) break;
            std::this_thread::sleep_for(kConnectRetryPause);
            continue;
        }
        ServeOne();
    }
    m_pipe.Close();
    m_serving.store(false, std::memory_order_release);
}

void PipeServer::ServeOne()
{
    // The record is zeroed before each read, so a failed read never echoes the
    // previous exchange (its result included).
    m_message.Clear();
    bool stopAfterReply = false;
    try {
        std::uint32_t got = 0;
        if (m_pipe.Read(m_message.Data(), PipeMessage::kSize, &got)) {
            PipeCommandDispatcher dispatcher(m_target);
            stopAfterReply = dispatcher.Dispatch(m_message) == PipeCommandDispatcher::Outcome::Stop;
        } else {
            m_message.Clear();
        }
    } catch (const std::exception& e) {
        tessara::Log("pipe server: exchange failed: %s; answered with result 0", e.what());
        m_message.SetResult(0);
    } catch (...) {
        m_message.SetResult(0);
    }
    if (m_pipe.Write(m_message.Data(), PipeMessage::kSize)) m_pipe.Flush();
    m_pipe.Disconnect();
    m_exchanges.fetch_add(1, std::memory_order_relaxed);
    if (stopAfterReply) m_stop.store(true, std::memory_order_release);
}

void PipeServerThreadProc(PipeServer& server)
{
    try {
        server.Run();
    } catch (const std::exception& e) {
        tessara::Log("pipe server ended: %s", e.what());
    } catch (...) {
        tessara::Log("pipe server ended by an unknown error");
    }
}

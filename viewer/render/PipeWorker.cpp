#include "viewer/render/PipeWorker.h"
#include "platform/Log.h"

#include <QtGlobal>

#include <exception>
#include <system_error>
#include <utility>

PipeWorker::~PipeWorker()
{
    Stop();
}

bool PipeWorker::Start(Loop loop)
{
    if (m_thread.joinable()) return false;
    m_stop.Reset();
    try {
        m_thread = std::thread([this, loop = std::move(loop)] {
            try {
                loop(m_stop);
            } catch (const std::exception& e) {
                tessara::Log("pipe worker: ended by an error: %s", e.what());
            } catch (...) {
                tessara::Log("pipe worker: ended by an unknown error");
            }
        });
    } catch (const std::system_error& e) {
        tessara::Log("pipe worker: the thread could not be started (%s); the host link is off", e.what());
        return false;
    }
    return true;
}

void PipeWorker::Stop()
{
    if (!m_thread.joinable()) return;
    m_stop.RequestStop();
    m_thread.join();
}

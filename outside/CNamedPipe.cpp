#include "outside/CNamedPipe.h"

#include "platform/LocalSocket.h"

#include <algorithm>
#include <chrono>
#include <sys/stat.h>
#include <thread>

namespace {

std::uint32_t ErrorOf(tessara::SocketStatus status)
{
    switch (status) {
    case tessara::SocketStatus::Ok:
        return CNamedPipe::kErrorSuccess;
    case tessara::SocketStatus::NotFound:
        return CNamedPipe::kErrorFileNotFound;
    case tessara::SocketStatus::Busy:
        return CNamedPipe::kErrorPipeBusy;
    case tessara::SocketStatus::Denied:
        return CNamedPipe::kErrorAccessDenied;
    default:
        return CNamedPipe::kErrorGeneric;
    }
}

} // namespace

CNamedPipe::CNamedPipe() = default;

CNamedPipe::~CNamedPipe()
{
    Close();
}

bool CNamedPipe::Create(std::string_view pipeName)
{
    Close();
    const auto path = tessara::LocalSocketPath(pipeName);
    if (!path) {
        m_lastError = kErrorAccessDenied;
        return false;
    }
    const tessara::SocketStatus status = m_server.Listen(*path);
    m_lastError = ErrorOf(status);
    return status == tessara::SocketStatus::Ok;
}

bool CNamedPipe::Connect()
{
    m_stream.Close();
    const tessara::SocketStatus status =
        m_server.Accept(m_stream, tessara::LocalSocketStream::kNoTimeout, &m_interrupter);
    m_lastError = ErrorOf(status);
    return status == tessara::SocketStatus::Ok;
}

bool CNamedPipe::Disconnect()
{
    const bool wasConnected = m_stream.IsOpen();
    m_stream.Close();
    return wasConnected;
}

bool CNamedPipe::Open(std::string_view pipeName)
{
    Close();
    std::string error;
    const auto path = tessara::LocalSocketPath(pipeName, &error);
    if (!path) {
        m_lastError = kErrorAccessDenied;
        return false;
    }
    const tessara::SocketStatus status = m_stream.Connect(*path);
    m_lastError = ErrorOf(status);
    return status == tessara::SocketStatus::Ok;
}

bool CNamedPipe::Wait(std::string_view pipeName, std::uint32_t timeoutMs)
{
    const auto path = tessara::LocalSocketPath(pipeName);
    if (!path) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::min(timeoutMs, kMaxWaitMs));
    for (;;) {
        struct stat info {};
        if (::lstat(path->c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool CNamedPipe::Read(void* buffer, std::uint32_t count, std::uint32_t* bytesRead)
{
    std::size_t done = 0;
    const tessara::SocketStatus status = m_stream.ReadAll(buffer, count, &done, m_timeoutMs, &m_interrupter);
    if (bytesRead) {
        *bytesRead = static_cast<std::uint32_t>(done);
    }
    m_lastError = ErrorOf(status);
    return status == tessara::SocketStatus::Ok;
}

bool CNamedPipe::Write(const void* buffer, std::uint32_t count, std::uint32_t* bytesWritten)
{
    std::size_t done = 0;
    const tessara::SocketStatus status = m_stream.WriteAll(buffer, count, &done, m_timeoutMs, &m_interrupter);
    if (bytesWritten) {
        *bytesWritten = static_cast<std::uint32_t>(done);
    }
    m_lastError = ErrorOf(status);
    return status == tessara::SocketStatus::Ok;
}

bool CNamedPipe::Flush()
{
    return m_stream.IsOpen();
}

void CNamedPipe::Interrupt()
{
    m_interrupter.Interrupt();
}

void CNamedPipe::Close()
{
    m_stream.Close();
    m_server.Close();
}

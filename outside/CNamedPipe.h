#pragma once

#include "platform/LocalSocketServer.h"
#include "platform/LocalSocketStream.h"
#include "platform/SocketInterrupter.h"

#include <cstdint>
#include <string>
#include <string_view>

// The named-pipe wrapper the viewer and the host talk through. A pipe name such as
// "\\.\PIPE\ORVANE_SendMessage2" maps to an AF_UNIX stream socket in the user's private
// runtime folder, so only the same user can connect. Reads and writes move the whole
// count or fail. One thread uses an object; only Interrupt() may come from another.
class CNamedPipe {
public:
    // Error codes of a failed Open, as the pipe clients test them.
    static constexpr std::uint32_t kErrorSuccess = 0;
    static constexpr std::uint32_t kErrorFileNotFound = 2;    // no server
    static constexpr std::uint32_t kErrorAccessDenied = 5;    // runtime folder refused
    static constexpr std::uint32_t kErrorPipeBusy = 231;
    static constexpr std::uint32_t kErrorGeneric = 31;
    // Wait's longest wait, also for the "forever" time-out the clients pass: a client
    // runs on the UI thread, which must not hang on a server that never comes.
    static constexpr std::uint32_t kMaxWaitMs = 5000;
    static constexpr std::uint32_t kWaitForever = 0xFFFFFFFF;
    static constexpr int kNoTimeout = -1;

    CNamedPipe();
    ~CNamedPipe();
    CNamedPipe(const CNamedPipe&) = delete;
    CNamedPipe& operator=(const CNamedPipe&) = delete;

    // Server: makes the pipe; false when the name cannot be mapped, the folder is
    // refused or another live server holds it.
    bool Create(std::string_view pipeName);
    // Server: waits for a client. A connection still open from an earlier exchange is
    // dropped first. False when interrupted or on failure.
    bool Connect();
    // Server: ends the exchange with the connected client.
    bool Disconnect();

    // Client: connects to a running server; on failure GetLastError() tells why.
    bool Open(std::string_view pipeName);
    // Client: waits up to timeoutMs (at most kMaxWaitMs) until the server's pipe exists.
    static bool Wait(std::string_view pipeName, std::uint32_t timeoutMs);

    // Reads exactly count bytes; false (with *bytesRead the bytes that did arrive) on a
    // short record, a closed peer, the read time-out or an interrupt.
    bool Read(void* buffer, std::uint32_t count, std::uint32_t* bytesRead = nullptr);
    // Writes exactly count bytes or fails.
    bool Write(const void* buffer, std::uint32_t count, std::uint32_t* bytesWritten = nullptr);
    // Sockets hand written bytes to the peer at once; true while connected.
    bool Flush();

    // Longest wait of one Read or Write in milliseconds; kNoTimeout waits as long as
    // it takes (an interrupt still ends it).
    void SetTimeout(int timeoutMs) { m_timeoutMs = timeoutMs; }

    // From any thread: a blocked or later Connect, Read or Write returns false at once,
    // so the thread serving the pipe can be stopped and joined. Lasts for the life of
    // the object, so a request made before the thread reaches Connect is not lost.
    void Interrupt();

    // Closes the connection and, for a server, the pipe itself.
    void Close();

    bool IsOpen() const { return m_stream.IsOpen(); }
    bool IsServer() const { return m_server.IsListening(); }
    std::uint32_t GetLastError() const { return m_lastError; }

private:
    tessara::LocalSocketServer m_server;
    tessara::LocalSocketStream m_stream;
    tessara::SocketInterrupter m_interrupter;
    int m_timeoutMs = kNoTimeout;
    std::uint32_t m_lastError = kErrorSuccess;
};

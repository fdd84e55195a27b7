#include "outside/CNamedPipe.h"
#include "platform/LocalSocket.h"
#include "RuntimeFolderScope.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using tessara::test::RuntimeFolderScope;

constexpr const char* kViewerPipe = "\\\\.\\PIPE\\ORVANE_SendMessage2";
constexpr const char* kHostPipe = "\\\\.\\PIPE\\ORVANE_SendMessage1";
constexpr std::uint32_t kRecordSize = 589;
using Record = std::array<unsigned char, kRecordSize>;

// Opens the pipe as a client, waiting for the server to appear (bounded only
// against a hang).
bool OpenWhenReady(CNamedPipe& client, const char* name)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < limit) {
        if (client.Open(name)) {
            return true;
        }
        CNamedPipe::Wait(name, 50);
    }
    return false;
}

TEST(CNamedPipeTest, PipeNamesMapToSocketsInThePrivateFolder)
{
    const RuntimeFolderScope scope;
    EXPECT_EQ(tessara::LocalSocketPath(kViewerPipe), scope.Folder() + "/ORVANE_SendMessage2");
    EXPECT_EQ(tessara::LocalSocketPath(kHostPipe), scope.Folder() + "/ORVANE_SendMessage1");
    EXPECT_EQ(tessara::LocalSocketPath("\\\\.\\pipe\\a/b\\..c"), scope.Folder() + "/a_b_..c");
    EXPECT_EQ(tessara::LocalSocketPath(""), std::nullopt);
    EXPECT_EQ(tessara::LocalSocketPath(std::string(200, 'x')), std::nullopt);
}

TEST(CNamedPipeTest, ExchangesA589ByteRecordBetweenTwoThreads)
{
    const RuntimeFolderScope scope;
    CNamedPipe server;
    ASSERT_TRUE(server.Create(kViewerPipe));

    Record received {};
    bool served = false;
    std::thread serverThread([&] {
        Record buffer {};
        std::uint32_t read = 0;
        std::uint32_t written = 0;
        served = server.Connect() && server.Read(buffer.data(), kRecordSize, &read) && read == kRecordSize;
        received = buffer;
        buffer[1] = 1;    // result: done
        served = served && server.Write(buffer.data(), kRecordSize, &written) && written == kRecordSize &&
                 server.Flush();
        server.Disconnect();
    });

    Record request {};
    request[0] = 22;
    const char path[] = "/data/点群.dat";
    std::memcpy(request.data() + 5, path, sizeof(path));
    request[kRecordSize - 1] = 0xA5;
    CNamedPipe client;
    ASSERT_TRUE(OpenWhenReady(client, kViewerPipe));
    Record reply = request;
    ASSERT_TRUE(client.Write(reply.data(), kRecordSize));
    ASSERT_TRUE(client.Flush());
    ASSERT_TRUE(client.Read(reply.data(), kRecordSize));
    serverThread.join();

    EXPECT_TRUE(served);
    EXPECT_EQ(received, request);
    EXPECT_EQ(reply[1], 1);
    EXPECT_EQ(reply[0], 22);
    EXPECT_EQ(reply[kRecordSize - 1], 0xA5);
}

TEST(CNamedPipeTest, ShortRecordIsAFailedRead)
{
    const RuntimeFolderScope scope;
    CNamedPipe server;
    ASSERT_TRUE(server.Create(kViewerPipe));
    std::thread clientThread([&] {
        CNamedPipe client;
        if (OpenWhenReady(client, kViewerPipe)) {
            const Record partial {};
            client.Write(partial.data(), 100);
        }
        // Closing here ends the record at 100 bytes.
    });
    ASSERT_TRUE(server.Connect());
    Record buffer {};
    std::uint32_t read = 0;
    EXPECT_FALSE(server.Read(buffer.data(), kRecordSize, &read));
    EXPECT_EQ(read, 100u);
    clientThread.join();
    // Writing back to the vanished client fails without a signal ending the program.
    EXPECT_FALSE(server.Write(buffer.data(), kRecordSize));
    server.Disconnect();
}

TEST(CNamedPipeTest, ReadTimesOutWhenTheClientSendsNothing)
{
    const RuntimeFolderScope scope;
    CNamedPipe server;
    ASSERT_TRUE(server.Create(kViewerPipe));
    CNamedPipe client;
    ASSERT_TRUE(client.Open(kViewerPipe));
    ASSERT_TRUE(server.Connect());
    server.SetTimeout(100);
    Record buffer {};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(server.Read(buffer.data(), kRecordSize));
    // It ended by itself; the bound only tells a time-out from a hang on a loaded machine.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST(CNamedPipeTest, ServerThreadBlockedInConnectIsStoppedAndJoined)
{
    const RuntimeFolderScope scope;
    CNamedPipe server;
    ASSERT_TRUE(server.Create(kViewerPipe));
    std::atomic<bool> entered = false;
    std::atomic<int> exchanges = 0;
    std::thread serverThread([&] {
        entered = true;
        while (server.Connect()) {    // false once interrupted
            ++exchanges;
            server.Disconnect();
        }
    });
    while (!entered) {
        std::this_thread::yield();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    server.Interrupt();
    serverThread.join();
    EXPECT_EQ(exchanges, 0);
    EXPECT_FALSE(server.Connect());    // stays stopped
}

TEST(CNamedPipeTest, InterruptBeforeConnectIsNotLost)
{
    const RuntimeFolderScope scope;
    CNamedPipe server;
    server.Interrupt();
    ASSERT_TRUE(server.Create(kViewerPipe));
    EXPECT_FALSE(server.Connect());
}

TEST(CNamedPipeTest, ExchangesAreServedOneAfterTheOther)
{
    const RuntimeFolderScope scope;
    CNamedPipe server;
    ASSERT_TRUE(server.Create(kViewerPipe));
    std::thread serverThread([&] {
        for (int i = 0; i < 2; ++i) {
            Record buffer {};
            if (server.Connect() && server.Read(buffer.data(), kRecordSize)) {
                buffer[1] = static_cast<unsigned char>(buffer[0] + 1);
                server.Write(buffer.data(), kRecordSize);
            }
            server.Disconnect();
        }
    });
    for (unsigned char code : {10, 20}) {
        CNamedPipe client;
        ASSERT_TRUE(OpenWhenReady(client, kViewerPipe));
        Record record {};
        record[0] = code;
        ASSERT_TRUE(client.Write(record.data(), kRecordSize));
        ASSERT_TRUE(client.Read(record.data(), kRecordSize));
        EXPECT_EQ(record[1], code + 1);
    }
    serverThread.join();
}

TEST(CNamedPipeTest, OpenWithoutServerReportsFileNotFound)
{
    const RuntimeFolderScope scope;
    CNamedPipe client;
    EXPECT_FALSE(client.Open(kHostPipe));
    EXPECT_EQ(client.GetLastError(), CNamedPipe::kErrorFileNotFound);
    EXPECT_FALSE(client.IsOpen());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(CNamedPipe::Wait(kHostPipe, 100));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST(CNamedPipeTest, WaitReturnsWhenTheServerAppears)
{
    const RuntimeFolderScope scope;
    CNamedPipe server;
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        server.Create(kHostPipe);
    });
    EXPECT_TRUE(CNamedPipe::Wait(kHostPipe, CNamedPipe::kWaitForever));
    late.join();
}

TEST(CNamedPipeTest, StaleSocketOfAKilledServerIsReplaced)
{
    const RuntimeFolderScope scope;
    const auto path = tessara::LocalSocketPath(kViewerPipe);
    ASSERT_TRUE(path);
    {
        // A socket bound and abandoned, as a killed server leaves it.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, path->c_str());
        ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
        ::close(fd);
    }
    CNamedPipe server;
    EXPECT_TRUE(server.Create(kViewerPipe));
    CNamedPipe second;
    EXPECT_FALSE(second.Create(kViewerPipe));    // a live server keeps its pipe
    EXPECT_EQ(second.GetLastError(), CNamedPipe::kErrorPipeBusy);
    EXPECT_TRUE(server.IsServer());
    server.Close();
    struct stat info {};
    EXPECT_NE(::lstat(path->c_str(), &info), 0);    // removed when the server closes
}

TEST(CNamedPipeTest, NeverRemovesAFileThatIsNotASocket)
{
    const RuntimeFolderScope scope;
    const std::string path = scope.Folder() + "/ORVANE_SendMessage2";
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    CNamedPipe server;
    EXPECT_FALSE(server.Create(kViewerPipe));
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0);
}

TEST(CNamedPipeTest, RefusesAFolderOpenToOthers)
{
    const RuntimeFolderScope scope;
    ASSERT_EQ(::chmod(scope.Folder().c_str(), 0777), 0);
    CNamedPipe server;
    EXPECT_FALSE(server.Create(kViewerPipe));
    EXPECT_EQ(server.GetLastError(), CNamedPipe::kErrorAccessDenied);
    CNamedPipe client;
    EXPECT_FALSE(client.Open(kViewerPipe));
    EXPECT_EQ(client.GetLastError(), CNamedPipe::kErrorAccessDenied);
}

} // namespace

#include "viewer/files/PipeCommandTarget.h"
#include "viewer/files/PipeMessage.h"
#include "viewer/files/PipePaths.h"
#include "viewer/files/PipeServer.h"

#include "outside/CNamedPipe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

// A stop must end by itself: the bound tells a stop from a hang, even on a loaded
// two-core machine; how fast it stops is not the question.
constexpr long kStopBoundMs = 20000;

constexpr const char* kPipe = "\\\\.\\PIPE\\ORVANE_SendMessage2";

// Counts the calls the server makes; the worker calls it, the test reads it.
class CountingTarget : public PipeCommandTarget {
public:
    int LoadHostDataFile(const std::string& path) override
    {
        std::lock_guard lock(m_mutex);
        ++loads;
        lastPath = path;
        return path.find("good") != std::string::npos ? 1 : 0;
    }
    int WriteExchangeFile(const std::string&, std::int32_t, std::int32_t limit) override { return limit; }
    int ExportPointsInPolygons(const std::string&) override { return 3; }
    int WriteShownTins(const std::string&) override { return 4; }
    int ReadHostPolygonFile(const std::string&) override { return 0; }
    int ClearHostPolygons() override { return 1; }

    int Loads()
    {
        std::lock_guard lock(m_mutex);
        return loads;
    }

private:
    std::mutex m_mutex;
    int loads = 0;
    std::string lastPath;
};

class PipeServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() / ("tessara-pipe-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all);
        ::setenv("TESSARA_PIPE_DIR", m_dir.c_str(), 1);
    }
    void TearDown() override
    {
        StopServer();
        std::filesystem::remove_all(m_dir);
    }

    void StartServer()
    {
        m_server = std::make_unique<PipeServer>(m_target, kPipe);
        m_thread = std::thread([this] { PipeServerThreadProc(*m_server); });
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!m_server->Serving() && std::chrono::steady_clock::now() < limit) std::this_thread::yield();
        ASSERT_TRUE(m_server->Serving());
    }
    // Stops the server and returns how long the join took.
    std::chrono::milliseconds StopServer()
    {
        const auto start = std::chrono::steady_clock::now();
        if (m_server) m_server->RequestStop();
        if (m_thread.joinable()) m_thread.join();
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    }

    static bool Exchange(PipeMessage& m)
    {
        CNamedPipe client;
        if (!client.Open(kPipe)) return false;
        client.SetTimeout(60000);
        return client.Write(m.Data(), PipeMessage::kSize) && client.Read(m.Data(), PipeMessage::kSize);
    }

    std::filesystem::path m_dir;
    CountingTarget m_target;
    std::unique_ptr<PipeServer> m_server;
    std::thread m_thread;
};

}  // namespace

TEST_F(PipeServerTest, AnswersCommandsAndEndsAfterStopCommand)
{
    StartServer();
    PipeMessage nop;
    nop.SetCode(22);
    ASSERT_TRUE(Exchange(nop));
    EXPECT_EQ(nop.Result(), 1);

    PipeMessage load;
    load.SetCode(1);
    ASSERT_TRUE(SetPipePathAt(load, PipeMessage::kPathOffset, "/tmp/good.dat"));
    ASSERT_TRUE(Exchange(load));
    EXPECT_EQ(load.Result(), 1);
    EXPECT_EQ(m_target.Loads(), 1);

    PipeMessage stop;
    stop.SetCode(11);
    ASSERT_TRUE(Exchange(stop));
    EXPECT_EQ(stop.Result(), 1);
    m_thread.join();
    EXPECT_FALSE(m_server->Serving());
    CNamedPipe late;
    EXPECT_FALSE(late.Open(kPipe)) << "after command 11 nobody serves the pipe";
}

TEST_F(PipeServerTest, TenThousandMixedExchangesLoseNoGoodRequest)
{
    StartServer();
    int good = 0, answered = 0;
    for (int i = 0; i < 10'000; ++i) {
        switch (i % 5) {
        case 0: {  // good request
            PipeMessage m;
            m.SetCode(4);
            SetPipePathAt(m, PipeMessage::kPathOffset, "/tmp/x.dat");
            m.SetInt32At(PipeMessage::kPointLimitOffset, i);
            ++good;
            if (Exchange(m) && m.Int32At(PipeMessage::kItemCountOffset) == i && m.Result() == (i > 0 ? 1 : 0))
                ++answered;
            break;
        }
        case 1: {  // short record, then the client goes
            CNamedPipe c;
            ASSERT_TRUE(c.Open(kPipe));
            const std::uint8_t part[100] = {1};
            c.Write(part, sizeof part);
            break;
        }
        case 2: {  // a client that connects and vanishes
            CNamedPipe c;
            ASSERT_TRUE(c.Open(kPipe));
            break;
        }
        case 3: {  // unknown code: echoed
            PipeMessage m;
            m.SetCode(200);
            m.SetInt32At(300, i);
            const PipeMessage sent = m;
            ++good;
            if (Exchange(m) && m == sent) ++answered;
            break;
        }
        default: {  // unterminated path: result 0, no call
            PipeMessage m;
            m.SetCode(1);
            std::fill(m.Data() + 5, m.Data() + 265, std::uint8_t('a'));
            m.SetResult(1);
            ++good;
            if (Exchange(m) && m.Result() == 0) ++answered;
            break;
        }
        }
    }
    EXPECT_EQ(answered, good);
    EXPECT_EQ(m_target.Loads(), 0);
    PipeMessage still;
    still.SetCode(22);
    ASSERT_TRUE(Exchange(still));
    EXPECT_EQ(still.Result(), 1);
    EXPECT_LT(StopServer().count(), kStopBoundMs);
}

TEST_F(PipeServerTest, StopsWhileWaitingForAClient)
{
    StartServer();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_LT(StopServer().count(), kStopBoundMs);
    EXPECT_FALSE(m_server->Serving());
}

TEST_F(PipeServerTest, FailedReadAnswersAZeroedRecordNotThePreviousOne)
{
    StartServer();
    PipeMessage load;
    load.SetCode(1);
    SetPipePathAt(load, PipeMessage::kPathOffset, "/tmp/good.dat");
    ASSERT_TRUE(Exchange(load));
    ASSERT_EQ(load.Result(), 1);
    // A client that sends only part of a record and then waits for the answer.
    CNamedPipe c;
    ASSERT_TRUE(c.Open(kPipe));
    c.SetTimeout(PipeServer::kReadTimeoutMs + 60000);
    const std::uint8_t part[10] = {1};
    ASSERT_TRUE(c.Write(part, sizeof part));
    PipeMessage reply;
    reply.SetResult(7);
    ASSERT_TRUE(c.Read(reply.Data(), PipeMessage::kSize));
    EXPECT_EQ(reply, PipeMessage());
}

TEST_F(PipeServerTest, AStaleSocketOfAKilledViewerDoesNotStopServing)
{
    // A socket file left behind by a process that died: bound, never unlinked.
    const auto path = m_dir / "ORVANE_SendMessage2";
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
    ASSERT_TRUE(std::filesystem::exists(path));
    StartServer();
    PipeMessage nop;
    nop.SetCode(22);
    ASSERT_TRUE(Exchange(nop));
    EXPECT_EQ(nop.Result(), 1);
}

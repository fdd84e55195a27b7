#include "platform/UiMessages.h"

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace tessara {
namespace {

// The UI thread is the test's main thread, with a QCoreApplication for its events.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<QCoreApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[8] = "test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QCoreApplication> m_app;
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

constexpr unsigned kLoadFinished = WM_USER + 104;

// Pumps the UI thread's events until done() or a generous time limit.
template <typename Done>
bool PumpUntil(Done done)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        PumpPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TEST(UiMessagesTest, BlockingSendFromAWorkerIsHandledOnTheUiThread)
{
    const std::thread::id uiThread = std::this_thread::get_id();
    std::thread::id handledOn;
    std::vector<unsigned> handled;    // touched only on the UI thread
    UiMessageTarget target([&](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
        handledOn = std::this_thread::get_id();
        handled.push_back(message);
        return static_cast<std::intptr_t>(wParam) + lParam;
    });

    std::atomic<bool> done = false;
    std::optional<std::intptr_t> result;
    bool handledBeforeReturn = false;
    std::thread worker([&] {
        result = SendUiMessage(target, kLoadFinished, 40, 2);
        handledBeforeReturn = !handled.empty();    // the send returns only after the handler
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(handledBeforeReturn);
    EXPECT_EQ(handledOn, uiThread);
    EXPECT_EQ(handled, std::vector<unsigned>{kLoadFinished});
}

TEST(UiMessagesTest, SendOnTheUiThreadCallsTheHandlerDirectly)
{
    int calls = 0;
    UiMessageTarget target([&](unsigned, std::uintptr_t, std::intptr_t) { return ++calls; });
    EXPECT_EQ(SendUiMessage(target, WM_USER + 100, 0, 0), 1);
    target.Shutdown();
    EXPECT_EQ(SendUiMessage(target, WM_USER + 100, 0, 0), std::nullopt);
    EXPECT_EQ(calls, 1);
}

TEST(UiMessagesTest, ShutdownReleasesABlockedSenderAndRefusesLaterOnes)
{
    std::atomic<int> calls = 0;
    UiMessageTarget target([&](unsigned, std::uintptr_t, std::intptr_t) { return ++calls; });
    std::optional<std::intptr_t> first = 1;
    std::optional<std::intptr_t> second = 1;
    std::thread worker([&] {
        first = SendUiMessage(target, kLoadFinished, 0, 0);    // the UI thread is not pumping
        second = SendUiMessage(target, kLoadFinished, 0, 0);
    });
    // Wait (without pumping: the UI thread must not serve it) until the first send blocks.
    while (target.WaitingSenders() == 0) std::this_thread::yield();
    target.Shutdown();    // as the view's destructor does before stopping its worker
    worker.join();
    PumpPendingEvents();
    EXPECT_EQ(first, std::nullopt);
    EXPECT_EQ(second, std::nullopt);
    EXPECT_EQ(calls, 0);
}

TEST(UiMessagesTest, DestroyingTheTargetReleasesEverySender)
{
    std::vector<std::thread> senders;
    std::atomic<int> released = 0;
    {
        UiMessageTarget target([](unsigned, std::uintptr_t, std::intptr_t) { return 1; });
        for (int i = 0; i < 4; ++i) {
            senders.emplace_back([&] {
                if (!SendUiMessage(target, WM_USER + 101, 0, 0)) {
                    ++released;
                }
            });
        }
        while (target.WaitingSenders() < 4) std::this_thread::yield();
        target.Shutdown();
        for (std::thread& sender : senders) {
            sender.join();
        }
    }
    EXPECT_EQ(released, 4);
    PumpPendingEvents();    // wake-ups for the destroyed target are dropped
}

TEST(UiMessagesTest, PostedMessagesRunInOrderWhenEventsArePumped)
{
    std::vector<std::intptr_t> seen;
    UiMessageTarget target([&](unsigned, std::uintptr_t, std::intptr_t lParam) {
        seen.push_back(lParam);
        return 0;
    });
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i) {
            PostUiMessage(target, WM_USER + 101, 0, i);
        }
    });
    worker.join();
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(PumpUntil([&] { return seen.size() == 3; }));
    EXPECT_EQ(seen, (std::vector<std::intptr_t>{0, 1, 2}));
    target.Shutdown();
    EXPECT_FALSE(PostUiMessage(target, WM_USER + 101, 0, 9));
}

} // namespace
} // namespace tessara

#include "viewer/files/PipeCommandDispatcher.h"
#include "viewer/files/PipeCommandTarget.h"
#include "viewer/files/PipeMessage.h"
#include "viewer/files/PipePaths.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Records each call; answers with preset values.
class RecordingTarget : public PipeCommandTarget {
public:
    int LoadHostDataFile(const std::string& path) override { return Note("1 " + path, load); }
    int WriteExchangeFile(const std::string& path, std::int32_t flags, std::int32_t limit) override
    {
        return Note("4 " + path + " " + std::to_string(flags) + " " + std::to_string(limit), items);
    }
    int ExportPointsInPolygons(const std::string& path) override { return Note("18 " + path, polygonPoints); }
    int WriteShownTins(const std::string& path) override { return Note("19 " + path, triangles); }
    int ReadHostPolygonFile(const std::string& path) override { return Note("20 " + path, 0); }
    int ClearHostPolygons() override { return Note("21", 1); }

    int Note(std::string call, int answer)
    {
        if (throwOnCall) throw std::runtime_error("handler failed");
        calls.push_back(std::move(call));
        return answer;
    }
    std::vector<std::string> calls;
    int load = 1, items = 0, polygonPoints = 0, triangles = 0;
    bool throwOnCall = false;
};

PipeMessage Request(std::uint8_t code, const std::string& path = "")
{
    PipeMessage m;
    m.SetCode(code);
    if (!path.empty()) SetPipePathAt(m, PipeMessage::kPathOffset, path);
    return m;
}

}  // namespace

TEST(PipeCommandDispatcherTest, UnservedCodesComeBackByteForByte)
{
    RecordingTarget target;
    PipeCommandDispatcher dispatcher(target);
    for (int code : {0, 2, 3, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 23, 100, 255}) {
        PipeMessage m;
        for (std::size_t i = 0; i < PipeMessage::kSize; ++i) m.Data()[i] = std::uint8_t(i * 7 + 3);
        m.SetCode(std::uint8_t(code));
        const PipeMessage sent = m;
        EXPECT_EQ(dispatcher.Dispatch(m), PipeCommandDispatcher::Outcome::Served);
        EXPECT_EQ(m, sent) << "code " << code;
    }
    EXPECT_TRUE(target.calls.empty());
}

TEST(PipeCommandDispatcherTest, CommandFourReportsItemsAndSuccessOnlyWhenSomethingWasWritten)
{
    RecordingTarget target;
    PipeCommandDispatcher dispatcher(target);
    for (int items : {0, 2000}) {
        target.items = items;
        PipeMessage m = Request(4, "/tmp/x.dat");
        m.SetInt32At(PipeMessage::kExchangeFlagsOffset, 3);
        m.SetInt32At(PipeMessage::kPointLimitOffset, 1000);
        dispatcher.Dispatch(m);
        EXPECT_EQ(m.Int32At(PipeMessage::kItemCountOffset), items);
        EXPECT_EQ(m.Result(), items > 0 ? 1 : 0);
    }
    EXPECT_EQ(target.calls.back(), "4 /tmp/x.dat 3 1000");
}

TEST(PipeCommandDispatcherTest, PolygonAndTinCommandsAlwaysAnswerDoneWithTheCountBeside)
{
    RecordingTarget target;
    target.polygonPoints = 0;
    target.triangles = 42;
    PipeCommandDispatcher dispatcher(target);
    PipeMessage a = Request(18, "/tmp/p.dat");
    dispatcher.Dispatch(a);
    EXPECT_EQ(a.Result(), 1);
    EXPECT_EQ(a.Int32At(PipeMessage::kHandlerResultOffset), 0);
    PipeMessage b = Request(19, "/tmp/t.dat");
    dispatcher.Dispatch(b);
    EXPECT_EQ(b.Result(), 1);
    EXPECT_EQ(b.Int32At(PipeMessage::kHandlerResultOffset), 42);
}

TEST(PipeCommandDispatcherTest, StopNoOperationAndLoadResults)
{
    RecordingTarget target;
    PipeCommandDispatcher dispatcher(target);
    PipeMessage stop = Request(11);
    EXPECT_EQ(dispatcher.Dispatch(stop), PipeCommandDispatcher::Outcome::Stop);
    EXPECT_EQ(stop.Result(), 1);
    PipeMessage nop = Request(22);
    EXPECT_EQ(dispatcher.Dispatch(nop), PipeCommandDispatcher::Outcome::Served);
    EXPECT_EQ(nop.Result(), 1);
    target.load = 0;
    PipeMessage load = Request(1, "/tmp/点群.dat");
    load.SetResult(1);
    dispatcher.Dispatch(load);
    EXPECT_EQ(load.Result(), 0);
    EXPECT_EQ(target.calls.back(), "1 /tmp/点群.dat");
    PipeMessage clear = Request(21);
    dispatcher.Dispatch(clear);
    EXPECT_EQ(clear.Result(), 1);
}

TEST(PipeCommandDispatcherTest, UnterminatedPathAnswersZeroWithoutCallingTheHandler)
{
    RecordingTarget target;
    target.triangles = 5;
    PipeCommandDispatcher dispatcher(target);
    for (int code : {1, 4, 18, 19, 20}) {
        PipeMessage m;
        m.SetCode(std::uint8_t(code));
        std::fill(m.Data() + 5, m.Data() + 265, std::uint8_t('/'));
        m.SetResult(1);
        m.SetInt32At(PipeMessage::kItemCountOffset, 9);
        dispatcher.Dispatch(m);
        EXPECT_EQ(m.Result(), 0) << "code " << code;
    }
    EXPECT_TRUE(target.calls.empty());
}

TEST(PipeCommandDispatcherTest, HandlerExceptionBecomesResultZero)
{
    RecordingTarget target;
    target.throwOnCall = true;
    PipeCommandDispatcher dispatcher(target);
    PipeMessage m = Request(1, "/tmp/a.dat");
    m.SetResult(1);
    EXPECT_EQ(dispatcher.Dispatch(m), PipeCommandDispatcher::Outcome::Served);
    EXPECT_EQ(m.Result(), 0);
    EXPECT_EQ(m.Code(), 1);
}

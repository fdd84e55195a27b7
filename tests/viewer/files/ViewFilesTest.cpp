#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "outside/CNamedPipe.h"
#include "platform/ScriptedMessageBoxes.h"
#include "viewer/files/PipeMessage.h"
#include "viewer/files/PipePaths.h"
#include "viewer/dialogs/LegendMessagePaint.h"
#include "viewer/dialogs/LegendSlots.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/render/FrameLink.h"

#include "../render/ViewTestApp.h"
#include "HostFileFixture.h"
#include "HostFileWriter.h"
#include "FakeFrame.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class ViewFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        m_view = std::make_unique<CModelViewerView>();
        m_view->Create();  // binds the view's messages and starts the pipe worker
    }
    void TearDown() override { m_view.reset(); }

    std::string HostFile(const std::string& name, const hostfile::ExampleCounts& counts)
    {
        return m_dir.WriteLayout(name, hostfile::MakeExample(counts));
    }
    int Groups() { return m_view->ModelStore().GetGroupCount(); }

    HostFileFolder m_dir;
    std::unique_ptr<CModelViewerView> m_view;
};

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// Plays the host on a thread: asks the view over its pipe to load the file at `path`
// (command 1), keeps the view's answer in `reply` and sets `done` when it is over.
std::thread SendLoadCommand(const std::string& path, PipeMessage& reply, std::atomic<bool>& done)
{
    return std::thread([path, &reply, &done] {
        CNamedPipe pipe;
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!pipe.Open("\\\\.\\PIPE\\ORVANE_SendMessage2") && std::chrono::steady_clock::now() < limit)
            CNamedPipe::Wait("\\\\.\\PIPE\\ORVANE_SendMessage2", 50);
        reply.SetCode(1);
        SetPipePathAt(reply, PipeMessage::kPathOffset, path);
        if (pipe.Write(reply.Data(), PipeMessage::kSize)) pipe.Read(reply.Data(), PipeMessage::kSize);
        done = true;
    });
}

}  // namespace

TEST_F(ViewFilesTest, HostFileLoadsIntoTheStoreAndIsConsumed)
{
    const std::string path = HostFile("a.dat", {100, 25, 4, 3});
    EXPECT_EQ(m_view->LoadHostDataFile(path, 0, 0), 1);
    CModelDataMng& store = m_view->ModelStore();
    ASSERT_EQ(Groups(), 1);
    EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 100);
    EXPECT_EQ(store.GetGroup(0)->m_name, "点群");
    EXPECT_GT(store.m_viewCloud.GetTriangleCount(), 0);
    EXPECT_EQ(store.m_elmList.size(), 4u);
    EXPECT_EQ(m_view->LastStatusText(), "処理を終了しました（データの読み込み)");
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(m_view->FilesState().scene.frame.transformSet, 1);
    EXPECT_FALSE(m_view->CanUndo()) << "a first load writes no snapshot";
}

// The elevation legend states the range the points are coloured for: after a
// second, higher group arrives from the host, the next frame's legend shows it.
TEST_F(ViewFilesTest, TheHeightLegendFollowsAHostLoad)
{
    SetPopupSources([this]() -> QWidget* { return m_view.get(); }, [this]() -> QWidget* { return m_view.get(); });
    m_view->Settings().tinPictureMode = 0;
    m_view->m_pointColourMode = 1;
    // Lattices on the example slope: 9 points reach z 50.3, 400 points z 52.85.
    ASSERT_EQ(m_view->LoadHostDataFile(HostFile("low.dat", {9, 0, 0, 0}), 0, 0), 1);
    m_view->UpdateLegends();
    ASSERT_NE(OpenLegend(LegendSlot::Elevation), nullptr);
    EXPECT_NEAR(OpenLegend(LegendSlot::Elevation)->m_top, 50.3, 1e-4);
    ASSERT_EQ(m_view->LoadHostDataFile(HostFile("high.dat", {400, 0, 0, 0}), 0, 0), 1);
    m_view->UpdateLegends();
    ASSERT_NE(OpenLegend(LegendSlot::Elevation), nullptr);
    EXPECT_NEAR(OpenLegend(LegendSlot::Elevation)->m_top, 52.85, 1e-4);
    CloseElevationLegend();
    SetPopupSources({}, {});
}

struct BrokenViewCase {
    const char* kind;
    bool kept;
};

class ViewBrokenHostFileTest : public ViewFilesTest, public ::testing::WithParamInterface<BrokenViewCase> {};

TEST_P(ViewBrokenHostFileTest, BrokenFilesLeaveTheSceneAndTheFileAsTheyWere)
{
    ASSERT_EQ(m_view->LoadHostDataFile(HostFile("first.dat", {10, 0, 2, 0}), 0, 0), 1);
    const auto figures = m_view->ModelStore().m_elmList.size();
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(hostfile::MakeBroken(GetParam().kind, {20, 4, 3, 3}, bytes));
    const std::string path = m_dir.Write("broken.dat", bytes);
    EXPECT_EQ(m_view->LoadHostDataFile(path, 0, 0), 0);
    EXPECT_EQ(Groups(), 1);
    EXPECT_EQ(m_view->ModelStore().GetGroup(0)->GetCloudPointSize(), 10);
    EXPECT_EQ(m_view->ModelStore().m_elmList.size(), figures);
    EXPECT_EQ(m_view->LastStatusText(), "データの読み込みに失敗しました。");
    EXPECT_EQ(Exists(path), GetParam().kept);
    EXPECT_FALSE(m_view->CanUndo()) << "nothing was changed, so nothing to undo";
}

INSTANTIATE_TEST_SUITE_P(Kinds, ViewBrokenHostFileTest,
    ::testing::Values(BrokenViewCase{"magic", true}, BrokenViewCase{"version", true},
                      BrokenViewCase{"huge-count", true}, BrokenViewCase{"bad-index", true},
                      BrokenViewCase{"cut:200", true}, BrokenViewCase{"unterminated-string", true}),
    [](const auto& info) {
        std::string n = info.param.kind;
        for (char& c : n) if (c == '-' || c == ':') c = '_';
        return n;
    });

TEST_F(ViewFilesTest, SecondHostFileCanBeUndone)
{
    ASSERT_EQ(m_view->LoadHostDataFile(HostFile("a.dat", {10, 0, 0, 0}), 0, 0), 1);
    ASSERT_EQ(m_view->LoadHostDataFile(HostFile("b.dat", {7, 0, 0, 0}), 0, 0), 1);
    ASSERT_EQ(Groups(), 2);
    EXPECT_EQ(m_view->ModelStore().GetGroup(1)->m_nNameNumber, 1) << "same name: the second is \"点群 2\"";
    ASSERT_TRUE(m_view->CanUndo());
    m_view->Undo();
    EXPECT_EQ(m_view->LastStatusText(), "処理完了（元に戻す）");
    // The snapshot held group points (a group-only file): the new group's points are gone.
    EXPECT_EQ(m_view->ModelStore().GetGroup(0)->GetCloudPointSize(), 10);
    EXPECT_FALSE(m_view->CanUndo());
}

TEST_F(ViewFilesTest, UnreadableSnapshotIsReportedAndFreesItsSlot)
{
    ASSERT_EQ(m_view->LoadHostDataFile(HostFile("a.dat", {10, 0, 0, 0}), 0, 0), 1);
    ASSERT_EQ(m_view->LoadHostDataFile(HostFile("b.dat", {7, 0, 0, 0}), 0, 0), 1);
    const std::string snapshot = m_view->FilesState().undo0.SlotName(0);
    ASSERT_TRUE(Exists(snapshot));
    std::ofstream(snapshot, std::ios::trunc) << "damaged";
    ScriptedBoxes().Clear();
    m_view->Undo();
    EXPECT_NE(m_view->LastStatusText(), "処理完了（元に戻す）");
    ASSERT_FALSE(ScriptedBoxes().ShownBoxes().empty());
    EXPECT_EQ(ScriptedBoxes().ShownBoxes().back().text, "ファイルを開くことができませんでした\nデータが破損している可能性があります");
    EXPECT_FALSE(Exists(snapshot));
    EXPECT_EQ(Groups(), 2) << "the scene stays as it was";
}

TEST_F(ViewFilesTest, ModelFileRoundTripThroughTheView)
{
    ASSERT_EQ(m_view->LoadHostDataFile(HostFile("a.dat", {50, 16, 4, 3}), 0, 0), 1);
    const std::string model = m_dir.Path("scene.tpf");
    ASSERT_EQ(m_view->SaveModelArchive(model, 0xFFFF), 1);
    CModelViewerView other;
    other.Create();
    ASSERT_EQ(other.LoadModelArchive(model), 1);
    EXPECT_EQ(other.ModelStore().GetGroupCount(), 1);
    EXPECT_EQ(other.ModelStore().GetGroup(0)->GetCloudPointSize(), 50);
    EXPECT_EQ(other.ModelStore().m_elmList.size(), 4u);
    EXPECT_EQ(other.FilesState().scene.frame.transformSet, 1);
    EXPECT_EQ(other.LoadModelArchive(m_dir.Write("bad.tpf", {1, 2, 3})), 0);
    EXPECT_EQ(other.ModelStore().GetGroupCount(), 1);
}

TEST_F(ViewFilesTest, HostLoadsOverThePipeAndCommandElevenEndsTheServer)
{
    const std::string path = HostFile("pipe.dat", {30, 0, 0, 0});
    std::atomic<bool> done{false};
    PipeMessage reply;
    std::thread host = SendLoadCommand(path, reply, done);
    // The worker's load-finished message needs the UI thread.
    EXPECT_TRUE(ProcessEventsUntil([&] { return done.load(); }, 60000));
    host.join();
    EXPECT_EQ(reply.Result(), 1);
    EXPECT_EQ(Groups(), 1);
    EXPECT_EQ(m_view->LastStatusText(), "処理を終了しました（データの読み込み)");

    CNamedPipe pipe;
    ASSERT_TRUE(pipe.Open("\\\\.\\PIPE\\ORVANE_SendMessage2"));
    PipeMessage stop;
    stop.SetCode(11);
    ASSERT_TRUE(pipe.Write(stop.Data(), PipeMessage::kSize));
    ASSERT_TRUE(pipe.Read(stop.Data(), PipeMessage::kSize));
    EXPECT_EQ(stop.Result(), 1);
}

TEST_F(ViewFilesTest, ViewDestroyedWhileTheWorkerWaitsForTheHost)
{
    // The worker is up once its pipe exists; from then on it waits for a host.
    ASSERT_TRUE(CNamedPipe::Wait("\\\\.\\PIPE\\ORVANE_SendMessage2", CNamedPipe::kWaitForever));
    const auto start = std::chrono::steady_clock::now();
    m_view.reset();
    // It ended: the bound only tells a stop from a hang on a loaded machine.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

namespace {

// fake-host serving the host's pipe in a child process.
class FakeHost {
public:
    FakeHost(const std::string& fixture, int requests)
    {
        // Test programs live in <build>/tests, programs in <build>/bin.
        const std::string exe =
            (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin" / "fake-host").string();
        m_pid = ::fork();
        if (m_pid == 0) {
            const std::string count = std::to_string(requests);
            ::execl(exe.c_str(), exe.c_str(), "serve", fixture.c_str(), "--send-first", "--count", count.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // Ready once its pipe exists.
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!CNamedPipe::Wait("\\\\.\\PIPE\\ORVANE_SendMessage1", 50) && std::chrono::steady_clock::now() < limit) {
        }
    }
    ~FakeHost()
    {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }

private:
    pid_t m_pid = -1;
};

}  // namespace

TEST_F(ViewFilesTest, HostThatSendsItsDataBeforeAnsweringTwelveAndSixteenDoesNotDeadlock)
{
    m_dir.WriteLayout("data.dat", hostfile::MakeExample({40, 0, 0, 0}));
    FakeHost host(m_dir.Path(""), 2);
    ScriptedBoxes().Clear();
    ScriptedBoxes().QueueAnswer(tessara::IDYES);
    const auto start = std::chrono::steady_clock::now();
    m_view->OnFetchHostCad();
    EXPECT_EQ(m_view->LastStatusText(), "CAD図形を更新しました");
    ASSERT_EQ(Groups(), 1) << "the data the host sent first was loaded";

    ScriptedBoxes().QueueAnswer(tessara::IDYES);
    ScriptedBoxes().QueueAnswer(tessara::IDYES);
    m_view->OnGetHostPointClouds();
    EXPECT_EQ(Groups(), 2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60)) << "no deadlock";
}

TEST_F(ViewFilesTest, NoHostMeansTheUpdateFailedBoxWithinFiveSeconds)
{
    ScriptedBoxes().Clear();
    ScriptedBoxes().QueueAnswer(tessara::IDYES);
    const auto start = std::chrono::steady_clock::now();
    m_view->OnFetchHostCad();
    // The connect is bounded to 5 s; the test only tells that bound from a hang.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    const auto shown = ScriptedBoxes().ShownBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "更新ができませんでした\n\nORVANEが起動しているかご確認下さい。");
}

namespace {

// Plays a host that accepts the viewer's request and never answers; it reads the
// request and waits until the viewer gives up (the connection closes) or the test ends.
class SilentHost {
public:
    SilentHost()
    {
        m_created = m_pipe.Create("\\\\.\\PIPE\\ORVANE_SendMessage1");
        m_thread = std::thread([this] {
            if (!m_created || !m_pipe.Connect()) return;
            PipeMessage request;
            m_pipe.Read(request.Data(), PipeMessage::kSize);
            m_requests.fetch_add(1);
            std::uint8_t more = 0;
            m_pipe.Read(&more, 1);   // returns once the viewer hangs up (or on Interrupt)
        });
    }
    ~SilentHost()
    {
        m_pipe.Interrupt();
        m_thread.join();
    }
    bool Created() const { return m_created; }
    int Requests() const { return m_requests.load(); }

private:
    CNamedPipe m_pipe;
    bool m_created = false;
    std::atomic<int> m_requests{0};
    std::thread m_thread;
};

}  // namespace

TEST_F(ViewFilesTest, AHostThatNeverAnswersEndsAtTheLimitWhileTheWindowPaints)
{
    SilentHost host;
    ASSERT_TRUE(host.Created());
    m_view->FilesState().hostReplyLimit = std::chrono::milliseconds(300);
    m_view->resize(200, 150);
    m_view->show();
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_view->SceneFrameCount() > 0; }));
    const std::uint64_t framesBefore = m_view->SceneFrameCount();
    m_view->InvalidateScene();   // a frame waits to be drawn while the host is silent
    ScriptedBoxes().Clear();
    ScriptedBoxes().QueueAnswer(tessara::IDYES);
    m_view->OnFetchHostCad();
    EXPECT_EQ(host.Requests(), 1);
    EXPECT_GT(m_view->SceneFrameCount(), framesBefore) << "the window painted during the wait";
    const auto shown = ScriptedBoxes().ShownBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "更新ができませんでした\n\nORVANEが起動しているかご確認下さい。");
    EXPECT_EQ(Groups(), 0);
}

TEST_F(ViewFilesTest, AbortOrAClosingWindowEndsTheWaitForTheHost)
{
    for (const bool closing : {false, true}) {
        SilentHost host;
        ASSERT_TRUE(host.Created());
        FakeFrame frame;
        (closing ? frame.closing : frame.abort) = true;
        ScriptedBoxes().Clear();
        ScriptedBoxes().QueueAnswer(tessara::IDYES);
        const auto start = std::chrono::steady_clock::now();
        m_view->OnFetchHostCad();   // the reply limit stays at its minutes
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::minutes(1)) << "closing " << closing;
        const auto shown = ScriptedBoxes().ShownBoxes();
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[1].text, "更新ができませんでした\n\nORVANEが起動しているかご確認下さい。");
    }
}

TEST_F(ViewFilesTest, FailedSnapshotSaveIsToldAndFreesItsName)
{
    ASSERT_EQ(m_view->LoadHostDataFile(HostFile("a.dat", {10, 0, 0, 0}), 0, 0), 1);
    // A folder where the first snapshot file would go: the save cannot replace it.
    const std::string slot = m_view->FilesState().undo0.SlotName(0);
    std::filesystem::create_directories(slot);
    ScriptedBoxes().Clear();
    ASSERT_EQ(m_view->LoadHostDataFile(HostFile("b.dat", {7, 0, 0, 0}), 0, 0), 1);
    ProcessEventsUntil([] { return ScriptedBoxes().Count() > 0; }, 60000);
    const auto shown = ScriptedBoxes().ShownBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "ファイルの保存に失敗しました。");
    EXPECT_FALSE(m_view->CanUndo()) << "the unwritten name is not kept";
    EXPECT_EQ(Groups(), 2) << "the load itself goes on";
    std::filesystem::remove_all(slot);
}

TEST_F(ViewFilesTest, LoadFinishedCodesAndProgressMessages)
{
    m_view->FilesState().busy = 1;
    m_view->HandleViewMessage(CModelViewerView::kMsgSetStatusText, 0,
                              reinterpret_cast<std::intptr_t>(new std::string("before")));
    EXPECT_EQ(m_view->LastStatusText(), "before");
    m_view->HandleViewMessage(CModelViewerView::kMsgLoadFinished, static_cast<std::uintptr_t>(-2), 0);
    EXPECT_EQ(m_view->FilesState().busy.load(), 0);
    EXPECT_EQ(m_view->LastStatusText(), "before") << "a cancelled load shows no text";
    m_view->HandleViewMessage(CModelViewerView::kMsgLandXmlLoadFinished, static_cast<std::uintptr_t>(-1), 0);
    EXPECT_EQ(m_view->LastStatusText(), "LandXMLファイルの読み込みに失敗しました。");
    // Without a main frame the progress messages change nothing and answer 0.
    EXPECT_EQ(m_view->HandleViewMessage(CModelViewerView::kMsgLoadProgress, 5, 10), 0);
    EXPECT_EQ(m_view->HandleViewMessage(CModelViewerView::kMsgProgress, 5, 10), 0);
}

TEST_F(ViewFilesTest, BusyViewRefusesHostCommandsOverThePipe)
{
    m_view->FilesState().busy = 1;
    const std::string path = HostFile("busy.dat", {5, 0, 0, 0});
    std::atomic<bool> done{false};
    PipeMessage reply;
    std::thread host = SendLoadCommand(path, reply, done);
    ScriptedBoxes().Clear();
    EXPECT_TRUE(ProcessEventsUntil([&] { return done.load() && ScriptedBoxes().Count() > 0; }, 60000));
    host.join();
    EXPECT_EQ(reply.Result(), 0);
    EXPECT_EQ(Groups(), 0);
    EXPECT_TRUE(Exists(path)) << "a refused file is not consumed";
    ASSERT_GT(ScriptedBoxes().Count(), 0u);
    EXPECT_EQ(ScriptedBoxes().ShownBoxes()[0].text, "データの適正処理を行っています\nしばらく待って処理を実行してください。");
}

TEST_F(ViewFilesTest, TextureRequestWithoutAHostStillEndsInTextureMode)
{
    m_view->Settings().tinPictureMode = 1;
    ScriptedBoxes().Clear();
    ScriptedBoxes().QueueAnswer(tessara::IDYES);
    m_view->OnFetchHostTexture();
    EXPECT_EQ(m_view->LastStatusText(), "処理を終了しました（TIN生成）");
    EXPECT_EQ(m_view->Settings().tinPictureMode, 3);
    const auto shown = ScriptedBoxes().ShownBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "更新ができませんでした\n\nORVANEが起動しているかご確認下さい。");
}

TEST_F(ViewFilesTest, PointCloudRequestAsksOnceWithoutPointsAndTwiceWithThem)
{
    ScriptedBoxes().Clear();
    ScriptedBoxes().QueueAnswer(tessara::IDNO);
    m_view->OnGetHostPointClouds();
    EXPECT_EQ(ScriptedBoxes().Count(), 1u);
    ASSERT_EQ(m_view->LoadHostDataFile(HostFile("a.dat", {10, 0, 0, 0}), 0, 0), 1);
    ScriptedBoxes().Clear();
    ScriptedBoxes().QueueAnswer(tessara::IDYES);
    ScriptedBoxes().QueueAnswer(tessara::IDNO);
    m_view->OnGetHostPointClouds();
    EXPECT_EQ(ScriptedBoxes().Count(), 2u);
}

TEST_F(ViewFilesTest, WindowPlacementComesFromTheHost)
{
    FakeHost host(m_dir.Path(""), 1);
    std::array<int, 4> rect{};
    ASSERT_TRUE(m_view->FetchHostWindowPlacement(1, rect));
    EXPECT_EQ(rect, (std::array<int, 4>{0, 0, 1024, 768}));
}

TEST_F(ViewFilesTest, TextureAnswerSetsThePlacementAndTextureMode)
{
    std::ofstream(m_dir.Path("texture.bmp")) << "BM";
    FakeHost host(m_dir.Path(""), 1);
    ScriptedBoxes().Clear();
    ScriptedBoxes().QueueAnswer(tessara::IDYES);
    m_view->OnFetchHostTexture();
    EXPECT_EQ(ScriptedBoxes().Count(), 1u) << "only the question, no failure box";
    EXPECT_EQ(m_view->FilesState().scene.texturePlacement[2], 100.0);
    EXPECT_EQ(m_view->Settings().tinPictureMode, 3);
    EXPECT_EQ(m_view->LastStatusText(), "処理を終了しました（TIN生成）");
}

// Command 0: the host's figures are loaded and its clip rectangle kept in model
// coordinates, the axis grid to be worked out again.
TEST_F(ViewFilesTest, HostCadAnswerKeepsTheClipRectangle)
{
    FakeHost host(m_dir.Path(""), 1);
    ScriptedBoxes().Clear();
    ScriptedBoxes().QueueAnswer(tessara::IDYES);
    m_view->OnGetHostCad();
    EXPECT_EQ(m_view->LastStatusText(), "処理完了（データ作成）");
    ASSERT_EQ(m_view->FilesState().clipRectSet, 1);
    // The fake host answers x 10, y 20, width 30, height 40.
    PT a(10, 20, 0), b(40, 60, 0);
    m_view->ModelStore().UserToModel(a);
    m_view->ModelStore().UserToModel(b);
    EXPECT_EQ(m_view->FilesState().clipCorners[0].x(), a.x());
    EXPECT_EQ(m_view->FilesState().clipCorners[0].y(), a.y());
    EXPECT_EQ(m_view->FilesState().clipCorners[1].x(), b.x());
    EXPECT_EQ(m_view->FilesState().clipCorners[1].y(), b.y());
    EXPECT_FALSE(m_view->ModelStore().m_elmList.empty());
}

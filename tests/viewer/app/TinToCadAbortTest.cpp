// The TIN-to-CAD command writes its exchange file on the UI thread with the view
// locked; its progress pumps events so the frame's abort button can stop it, while
// every other command and input waits.
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "../files/ExportTestSupport.h"
#include "../render/ViewTestApp.h"
#include "outside/CModelDataMng.h"
#include "outside/CNamedPipe.h"
#include "platform/Files.h"
#include "platform/MemoryProfile.h"
#include "platform/ScriptedMessageBoxes.h"
#include "viewer/app/CMainFrame.h"
#include "viewer/files/PipeCommandCodes.h"
#include "viewer/files/PipeMessage.h"
#include "viewer/render/CModelViewerView.h"
#include "viewer/render/LongWorkGuard.h"
#include "viewer/render/WorkInputFilter.h"

namespace {

// Plays the host for one TIN registration: answers 1 to the request it reads and
// keeps it; a viewer that hangs up without asking leaves no request.
class RegisteringHost {
public:
    RegisteringHost()
    {
        m_created = m_pipe.Create(pipecmd::kHostPipeName);
        m_thread = std::thread([this] {
            if (!m_created || !m_pipe.Connect()) return;
            PipeMessage request;
            if (!m_pipe.Read(request.Data(), PipeMessage::kSize)) return;
            m_items.store(request.Int32At(PipeMessage::kItemCountOffset));
            m_requests.fetch_add(1);
            request.SetResult(1);
            m_pipe.Write(request.Data(), PipeMessage::kSize);
            std::uint8_t more = 0;
            m_pipe.Read(&more, 1);   // until the viewer hangs up (or Interrupt)
        });
    }
    ~RegisteringHost()
    {
        m_pipe.Interrupt();
        m_thread.join();
    }
    bool Created() const { return m_created; }
    int Requests() const { return m_requests.load(); }
    int Items() const { return m_items.load(); }

private:
    CNamedPipe m_pipe;
    bool m_created = false;
    std::atomic<int> m_requests{0};
    std::atomic<int> m_items{0};
    std::thread m_thread;
};

// What a TIN-to-CAD run may change: the store's groups, TINs and figures.
struct StoreSummary {
    int groups = 0;
    std::size_t points = 0, vertices = 0, triangles = 0, figures = 0;
    bool operator==(const StoreSummary&) const = default;
};

StoreSummary Summarise(CModelDataMng& store)
{
    StoreSummary s;
    s.groups = store.GetGroupCount();
    for (int i = 0; i < s.groups; ++i) {
        const CPCloudMng* g = store.GetGroup(i);
        s.points += std::size_t(g->GetCloudPointSize());
        s.vertices += std::size_t(g->GetVertexSize());
        s.triangles += g->m_triangles.size();
    }
    s.figures = store.m_elmList.size();
    return s;
}

class TinToCadAbortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        ScriptedBoxes().Clear();
        m_frame = std::make_unique<CMainFrame>(&m_appCommands);
        ASSERT_TRUE(m_frame->OnCreate());
        CMainFrame::SetMainWindow(m_frame.get());   // the view's progress and abort go to it
        m_view = new CModelViewerView(m_frame.get());
        m_frame->SetView(m_view);
        m_frame->show();
        // A shown group with a TIN of 4,000 triangles: its writer reports ten steps.
        auto group = exporttest::MakeLineGroup(50);
        group->m_nShowTin = 1;
        std::vector<CIndexedTriangle> triangles;
        for (std::uint32_t i = 0; i + 2 < 4002; ++i) triangles.emplace_back(i, i + 1, i + 2);
        exporttest::AddTin(*group, 4002, triangles);
        m_view->ModelStore().m_nShowRoot = 1;
        m_view->ModelStore().AddGroup(std::move(group));
        m_exchange = tessara::TempFolder() + "~TIN2CAD.DAT";
    }
    void TearDown() override
    {
        m_frame->hide();
        CMainFrame::SetMainWindow(nullptr);
        m_frame.reset();
    }

    // Clicks the abort button from inside the writer's first pump, and notes what
    // the rest of the program could do at that moment.
    void ClickAbortDuringTheWork()
    {
        QTimer::singleShot(0, m_frame.get(), [this] {
            m_sawLongWork = LongWorkGuard::OtherWorkInProgress();
            m_lockHeldHere = m_view->ViewMutex().HeldByThisThread();
            m_otherCommandRouted = m_frame->RouteCommand(32776);   // a view direction
            m_viewTakesInput = WorkInputFilter::TakesInput(m_view);
            m_abortShown = m_frame->AbortButton()->isVisible();
            QTest::mouseClick(m_frame->AbortButton(), Qt::LeftButton);
        });
    }

    CommandMap m_appCommands;
    std::unique_ptr<CMainFrame> m_frame;
    CModelViewerView* m_view = nullptr;   // owned by the frame
    std::string m_exchange;
    bool m_sawLongWork = false, m_lockHeldHere = false, m_otherCommandRouted = true, m_viewTakesInput = true;
    bool m_abortShown = false;
};

}  // namespace

TEST_F(TinToCadAbortTest, TheAbortButtonStopsTheWriterAndTheStoreStaysAsItWas)
{
    RegisteringHost host;
    ASSERT_TRUE(host.Created());
    const StoreSummary before = Summarise(m_view->ModelStore());
    ScriptedBoxes().QueueAnswer(tessara::IDYES);   // "処理を中止します。よろしいですか？"
    ClickAbortDuringTheWork();
    m_view->OnRegisterTinToHost();

    EXPECT_TRUE(m_sawLongWork) << "the click came while the writer pumped";
    EXPECT_TRUE(m_lockHeldHere);
    EXPECT_TRUE(m_abortShown);
    EXPECT_FALSE(m_otherCommandRouted) << "no second command while the lock is held";
    EXPECT_FALSE(m_viewTakesInput) << "no click or key reaches the view meanwhile";
    const auto shown = ScriptedBoxes().ShownBoxes();
    ASSERT_EQ(shown.size(), 1u) << "only the abort question; no \"TINが存在しません。\"";
    EXPECT_EQ(shown[0].text, "処理を中止します。よろしいですか？");
    EXPECT_EQ(Summarise(m_view->ModelStore()), before);
    EXPECT_FALSE(std::filesystem::exists(m_exchange)) << "no exchange file is left";
    EXPECT_EQ(host.Requests(), 0) << "nothing is handed to the host";
    EXPECT_EQ(m_view->LastStatusText(), "");
    EXPECT_TRUE(m_frame->AbortButton()->isHidden());
    EXPECT_FALSE(LongWorkGuard::OtherWorkInProgress());
    EXPECT_FALSE(m_view->ViewMutex().HeldByThisThread());
}

TEST_F(TinToCadAbortTest, NoToTheAbortQuestionLetsTheRegistrationFinish)
{
    RegisteringHost host;
    ASSERT_TRUE(host.Created());
    const StoreSummary before = Summarise(m_view->ModelStore());
    ScriptedBoxes().QueueAnswer(tessara::IDNO);
    ClickAbortDuringTheWork();
    m_view->OnRegisterTinToHost();

    EXPECT_TRUE(m_sawLongWork);
    ASSERT_EQ(ScriptedBoxes().ShownBoxes().size(), 1u);
    EXPECT_EQ(host.Requests(), 1);
    EXPECT_GT(host.Items(), 4000) << "every TIN edge was written";
    EXPECT_EQ(m_view->LastStatusText(), "TINからCAD図形を登録しました");
    EXPECT_EQ(Summarise(m_view->ModelStore()), before);
    EXPECT_FALSE(std::filesystem::exists(m_exchange));
}

// Input while a filter lives: the marked button and a modal box opened meanwhile
// take it, every other widget is passed over.
TEST(WorkInputFilterTest, OnlyMarkedWidgetsAndModalBoxesTakeInput)
{
    EnsureViewTestApp();
    QWidget window;
    auto* marked = new QPushButton("中止", &window);
    marked->setProperty(WorkInputFilter::kTakesInput, true);
    auto* other = new QPushButton("other", &window);
    other->move(0, 40);
    window.show();
    int markedClicks = 0, otherClicks = 0;
    QObject::connect(marked, &QPushButton::clicked, [&] { ++markedClicks; });
    QObject::connect(other, &QPushButton::clicked, [&] { ++otherClicks; });
    {
        WorkInputFilter filter;
        QTest::mouseClick(marked, Qt::LeftButton);
        QTest::mouseClick(other, Qt::LeftButton);
        QTest::keyClick(other, Qt::Key_Space);
        EXPECT_TRUE(WorkInputFilter::TakesInput(marked));
        EXPECT_FALSE(WorkInputFilter::TakesInput(other));

        QDialog box(&window);
        auto* answer = new QPushButton("はい", &box);
        int answers = 0;
        QObject::connect(answer, &QPushButton::clicked, [&] {
            ++answers;
            box.accept();
        });
        QTimer::singleShot(0, &box, [&] { QTest::mouseClick(answer, Qt::LeftButton); });
        box.exec();
        EXPECT_EQ(answers, 1) << "the modal box answers";
    }
    EXPECT_EQ(markedClicks, 1);
    EXPECT_EQ(otherClicks, 0);
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_EQ(otherClicks, 1) << "after the work, input goes everywhere again";
}

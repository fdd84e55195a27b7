#pragma once

#include "../render/TestView.h"
#include "../render/ViewTestApp.h"

#include "outside/CModelDataMng.h"
#include "platform/MemoryProfile.h"
#include "platform/MessageBox.h"
#include "platform/ScriptedMessageBoxes.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/render/ShellHooks.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QVector3D>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

// Scripted boxes that fail the test when one is shown while the view's lock is
// held: every question and report comes before the lock or after it.
class LockCheckingBoxes : public tessara::ScriptedMessageBoxes {
public:
    std::function<bool()> lockHeld;

    int Show(std::string_view text, std::string_view caption, unsigned flags, QWidget* owner) override
    {
        if (lockHeld && lockHeld())
            ADD_FAILURE() << "box shown while the view lock is held: " << text;
        return ScriptedMessageBoxes::Show(text, caption, flags, owner);
    }
};

// The test application, lock-checking boxes, a profile in memory and a silent
// About box; previous keeps the boxes to put back.
inline std::shared_ptr<LockCheckingBoxes> InstallCommandTestServices(std::shared_ptr<tessara::MessageBoxService>& previous)
{
    EnsureViewTestApp();
    auto boxes = std::make_shared<LockCheckingBoxes>();
    previous = tessara::SetMessageBoxService(boxes);
    tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
    ShellHooks::Instance().showAboutDialog = [] {};
    return boxes;
}

inline void RemoveCommandTestServices(const std::shared_ptr<tessara::MessageBoxService>& previous)
{
    ShellHooks::Instance().showAboutDialog = nullptr;
    tessara::SetMessageBoxService(previous);
}

// Answers every run of Dlg through answer; a dialog opened while the view's lock
// is held fails the test.
template <class Dlg>
void AnswerUnlocked(tessara::DialogScript& script, CModelViewerView& view,
                    std::function<int(typename Dlg::Values&)> answer)
{
    script.Answer<Dlg>([&view, answer](typename Dlg::Values& values) {
        if (view.ViewMutex().HeldByThisThread())
            ADD_FAILURE() << "dialog opened while the view lock is held: " << Dlg::staticMetaObject.className();
        return answer(values);
    });
}

// A shown main view with its commands bound, for the command tests.
class CommandViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_boxes = InstallCommandTestServices(m_previousBoxes);
        m_view = MakeView();
        m_view->Create();
        m_boxes->lockHeld = [view = m_view.get()] { return view->ViewMutex().HeldByThisThread(); };
        View().resize(200, 150);
        View().show();
        ASSERT_TRUE(ProcessEventsUntil([&] { return View().sceneFrames > 0; }));
        View().SetClientSize(200, 150);
    }
    //! The view the fixture shows; a test class needing more of the view's
    //! members returns its own subclass.
    virtual std::unique_ptr<TestView> MakeView() { return std::make_unique<TestView>(); }
    void TearDown() override
    {
        m_view.reset();
        RemoveCommandTestServices(m_previousBoxes);
    }

    //! A hidden group of two points: the box's corners.
    void AddBox(float x0, float y0, float x1, float y1)
    {
        auto group = std::make_unique<CPCloudMng>();
        group->AddCloudPoint(x0, y0, 1.0f, 0, 0.0);
        group->AddCloudPoint(x1, y1, 2.0f, 0, 0.0);
        group->CreateGrid();
        group->m_nShowGroup = 0;
        View().ModelStore().AddGroup(std::move(group));
    }
    void Run(unsigned id)
    {
        const auto* handler = View().Commands().FindCommand(id);
        ASSERT_NE(handler, nullptr) << id;
        (*handler)();
    }
    CommandUi Ui(unsigned id)
    {
        CommandUi ui;
        if (const auto* update = View().Commands().FindUpdate(id))
            (*update)(ui);
        return ui;
    }
    TestView& View() { return *m_view; }
    tessara::ScriptedMessageBoxes& Boxes() { return *m_boxes; }

    std::unique_ptr<TestView> m_view;
    std::shared_ptr<LockCheckingBoxes> m_boxes;
    std::shared_ptr<tessara::MessageBoxService> m_previousBoxes;
};

// The view's next frame drawn, read back.
inline QImage NextFrame(TestView& view)
{
    const int before = view.sceneFrames;
    view.InvalidateScene();
    EXPECT_TRUE(ProcessEventsUntil([&] { return view.sceneFrames > before; }));
    return view.grabFramebuffer();
}

// Where a user point shows in the view (widget pixels, y down).
inline QPoint WhereShown(TestView& view, double x, double y, double z)
{
    PT user(x, y, z);
    view.ModelStore().UserToModel(user);
    QVector3D window;
    EXPECT_TRUE(view.ProjectToWindow(QVector3D(float(user.x()), float(user.y()), float(user.z())), window));
    return {static_cast<int>(window.x()), view.ClientHeight() - static_cast<int>(window.y())};
}

// Points and triangles per group of the store.
inline std::vector<int> GroupPointCounts(CModelDataMng& store)
{
    std::vector<int> n;
    for (int i = 0; i < store.GetGroupCount(); ++i)
        n.push_back(store.GetGroup(i)->GetCloudPointSize());
    return n;
}
inline std::vector<int> GroupTriangleCounts(CModelDataMng& store)
{
    std::vector<int> n;
    for (int i = 0; i < store.GetGroupCount(); ++i)
        n.push_back(static_cast<int>(store.GetGroup(i)->m_triangles.size()));
    return n;
}

// make-model text of two point groups on the slope z = 0.5 x: 6 x 6 points at 1 m
// from (0, 0) and 5 x 5 from (8, 0), coloured red and blue.
inline std::string SlopePointsText()
{
    std::ostringstream text;
    const auto grid = [&](int x0, int side) {
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j)
                text << "p " << x0 + i << ' ' << j << ' ' << 0.5 * (x0 + i) << '\n';
    };
    text << "group 西 colour FF0000\n";
    grid(0, 6);
    text << "group 東 colour 0000FF\n";
    grid(8, 5);
    return text.str();
}

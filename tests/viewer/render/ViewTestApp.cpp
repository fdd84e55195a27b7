#include "ViewTestApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/MemoryProfile.h"
#include "platform/MessageBox.h"
#include "platform/ScriptedMessageBoxes.h"
#include "viewer/render/COpenGLBaseView.h"
#include "viewer/render/FrameClock.h"

namespace {

std::shared_ptr<tessara::ScriptedMessageBoxes> g_boxes;

// The folders made for this program, removed with everything in them at the end.
std::vector<std::string> g_privateFolders;

class ViewAppEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        m_app.reset();
        for (const std::string& folder : g_privateFolders) {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }
    std::unique_ptr<QApplication> m_app;
};

ViewAppEnvironment* g_environment = nullptr;

std::string MakePrivateFolder(const char* name)
{
    std::string pattern = std::string("/tmp/tessara-viewtest-") + name + "-XXXXXX";
    char* made = mkdtemp(pattern.data());
    if (made == nullptr)
        return "/tmp";
    g_privateFolders.emplace_back(made);
    return made;
}

}  // namespace

QApplication& EnsureViewTestApp()
{
    if (g_environment == nullptr) {
        setenv("XDG_CONFIG_HOME", MakePrivateFolder("config").c_str(), 1);
        setenv("TESSARA_PIPE_DIR", MakePrivateFolder("run").c_str(), 1);
        // Undo snapshots and scratch files live under the temporary folder by fixed
        // names: each test program gets its own, so programs running side by side
        // never take or clear each other's files.
        setenv("TMPDIR", MakePrivateFolder("tmp").c_str(), 1);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        g_boxes = std::make_shared<tessara::ScriptedMessageBoxes>();
        tessara::SetMessageBoxService(g_boxes);
        COpenGLBaseView::SetDefaultSurfaceFormat();
        // Every frame of a test view takes no time unless the test says otherwise:
        // pictures are drawn at full detail however slow or busy the machine is.
        SetDefaultFrameClock(std::make_shared<SteppingFrameClock>(0));
        static int argc = 1;
        static char name[] = "viewer-test";
        static char* argv[] = {name, nullptr};
        g_environment = new ViewAppEnvironment;   // GoogleTest owns it
        g_environment->m_app = std::make_unique<QApplication>(argc, argv);
        ::testing::AddGlobalTestEnvironment(g_environment);
    }
    return *g_environment->m_app;
}

tessara::ScriptedMessageBoxes& ScriptedBoxes()
{
    EnsureViewTestApp();
    return *g_boxes;
}

bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return done();
}

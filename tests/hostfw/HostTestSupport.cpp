#include "HostTestSupport.h"

#include "hostfw/CVApp.h"
#include "hostfw/FileChooser.h"
#include "hostfw/FormServices.h"
#include "hostfw/HostMessages.h"

#include <QApplication>

#include <cstdlib>
#include <unistd.h>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

std::vector<std::string> g_messages;

} // namespace

void EnsureQtApplication()
{
    // Kept to the end of the process: tests load and unload plug-ins, and the
    // application object must not be torn down by exit handlers after them.
    static QApplication* app = nullptr;
    if (app)
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "hostfw_tests";
    static char* argv[] = {name, nullptr};
    app = new QApplication(argc, argv);
}

void HostTest::SetUp()
{
    EnsureQtApplication();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_root = std::filesystem::temp_directory_path() /
             ("hostfw-test-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(m_root);
    std::filesystem::create_directories(m_root);
    setenv("PARTHOST_DATA_DIR", m_root.c_str(), 1);
    g_messages.clear();
    SetHostMessageHandler([](const std::string& text, const std::string& caption, unsigned flags) {
        g_messages.push_back(caption + "|" + text);
        return (flags & 0x0Fu) == kMbYesNo ? kIdYes : kIdOk;
    });
}

void HostTest::TearDown()
{
    PeldaGetApp().Reset();
    SetHostMessageHandler({});
    SetFileChooserHook({});
    SetFormSelectHook({});
    SetFormsFolder({});
    SetFormOutputFolder({});
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
}

std::filesystem::path HostTest::WriteFile(const std::string& relative, const std::string& bytes) const
{
    const std::filesystem::path path = m_root / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string HostTest::ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

const std::vector<std::string>& HostTest::Messages() const
{
    return g_messages;
}

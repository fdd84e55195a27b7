#pragma once

// Test helpers shared by the control-point and levelling plug-in tests: a part system
// seeded from examples/<plug-in> as the host's current one with the message boxes
// recorded, and the table dialog opened on it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "hostfw/CVApp.h"
#include "hostfw/CVPartVSheet.h"
#include "hostfw/FileChooser.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PartSystemSeed.h"
#include "hostfw/VCmdData.h"

#include <QApplication>

namespace plugtest {

inline std::filesystem::path SourceDir()
{
    const char* dir = std::getenv("TESSARA_SOURCE_DIR");
    return dir != nullptr ? std::filesystem::path(dir) : std::filesystem::current_path();
}

inline std::string ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One seeded part system of examples/<plug-in> as the host's current one, the data
// root in a folder of its own, every message box recorded (answered from m_answers,
// else OK).
class SeededHostTest : public ::testing::Test {
protected:
    // The folder is "<rootName>-<pid>-<test name>" in the temporary folder; the plug-in
    // data folder, when given, is set before the part system is seeded.
    void SeedHost(const std::string& plugin, const std::string& rootName, const std::string& fixture,
                  const std::filesystem::path& pluginDataDir = {})
    {
        m_root = std::filesystem::temp_directory_path() /
                 (rootName + "-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root);
        ::setenv("PARTHOST_DATA_DIR", m_root.string().c_str(), 1);
        CVApp& app = CVApp::Instance();
        app.Reset();
        if (!pluginDataDir.empty())
            app.SetPluginDataDir(pluginDataDir);
        PartSystemSeed seed;
        std::string error;
        ASSERT_TRUE(seed.Load(SourceDir() / "examples" / plugin / fixture, error)) << error;
        std::unique_ptr<PartSystem> system = seed.Apply(m_root / "parts.db", error);
        ASSERT_TRUE(system) << error;
        app.SetCurPartSysNo(app.AddPartSystem(std::move(system), "test"));
    }
    // A seeded part system for the calculation and CSV paths: the command-message box
    // on, messages recorded with their captions, part 1 loaded into m_part.
    void SeedWithPart(const std::string& plugin, const std::string& rootName, const std::string& fixture)
    {
        SeedHost(plugin, rootName, fixture);
        if (HasFatalFailure())
            return;
        CVApp::Instance().EnableCmdMsgBox(true);
        RecordMessages(true);
        ASSERT_TRUE(GetCurrentPartSystem()->LoadPart(1, m_part));
    }
    // Records each message box's text, with its caption first ("caption|text") when
    // withCaption is set.
    void RecordMessages(bool withCaption)
    {
        SetHostMessageHandler([this, withCaption](const std::string& text, const std::string& caption, unsigned) {
            m_shown.push_back(withCaption ? caption + "|" + text : text);
            if (m_answers.empty())
                return kIdOk;
            const int answer = m_answers.front();
            m_answers.erase(m_answers.begin());
            return answer;
        });
    }
    void TearDown() override
    {
        SetHostMessageHandler({});
        SetFileChooserHook({});
        CVApp::Instance().Reset();
        if (!m_root.empty())
            std::filesystem::remove_all(m_root);
    }

    std::filesystem::path m_root;
    PartData m_part;
    std::vector<std::string> m_shown;
    std::vector<int> m_answers;
};

// A plug-in's table dialog (Dialog on its parameter database Database) opened on a
// seeded part system.
template <class Dialog, class Database>
class TableDialogTest : public SeededHostTest {
protected:
    void OpenDialog(const std::string& plugin, WORD program, int mode, const std::string& fixture, DWORD part)
    {
        SeedHost(plugin, plugin + "-dialog", fixture, SourceDir() / "plugins" / plugin / "data");
        if (HasFatalFailure())
            return;
        RecordMessages(false);
        m_cmd = std::make_unique<VCmdData>(program, part);
        m_dialog = new Dialog(m_cmd.get(), std::make_unique<Database>(GetCurrentPartSystem()), nullptr, mode);
        ASSERT_EQ(m_dialog->Create(), 1);
    }
    void TearDown() override
    {
        CVApp::Instance().CloseAllPartDialogs();
        m_dialog = nullptr;
        SeededHostTest::TearDown();
    }
    PartRecord Record(const char* name, std::size_t row = 0)
    {
        PartRecord r;
        m_dialog->GetPartData().GetRecord(name, row, r);
        return r;
    }
    // Types text into the cell of code on the sheet bound to control.
    bool Edit(int control, DWORD code, const std::string& text)
    {
        auto* sheet = dynamic_cast<CVPartVSheet*>(m_dialog->FindSheet(control));
        int row = 0;
        int col = 0;
        return sheet != nullptr && sheet->CodeToCell(code, 0, row, col) && sheet->EditCellText(row, col, text);
    }
    // Chooses entry of the cell's drop-down list.
    bool Choose(int control, DWORD code, int entry)
    {
        auto* sheet = dynamic_cast<CVPartVSheet*>(m_dialog->FindSheet(control));
        int row = 0;
        int col = 0;
        return sheet != nullptr && sheet->CodeToCell(code, 0, row, col) && sheet->EditCellList(row, col, entry);
    }

    std::unique_ptr<VCmdData> m_cmd;
    Dialog* m_dialog = nullptr;
};

// One Qt application for the whole test program (offscreen without a display).
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (QApplication::instance() == nullptr) {
            if (qEnvironmentVariableIsEmpty("DISPLAY"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            m_app = std::make_unique<QApplication>(m_argc, m_argv);
        }
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "dialog_test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

} // namespace plugtest

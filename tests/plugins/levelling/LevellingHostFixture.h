#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "hostfw/CVApp.h"
#include "hostfw/FileChooser.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PartSystemSeed.h"

namespace mod00963 {

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

// One seeded part system of examples/levelling as the host's current one, with the
// message boxes recorded (answered by the queue, else OK).
class LevellingHostTest : public ::testing::Test {
protected:
    void Seed(const std::string& fixture)
    {
        m_root = std::filesystem::temp_directory_path() /
                 ("levelling-host-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root);
        ::setenv("PARTHOST_DATA_DIR", m_root.string().c_str(), 1);
        CVApp::Instance().Reset();
        PartSystemSeed seed;
        std::string error;
        ASSERT_TRUE(seed.Load(SourceDir() / "examples/levelling" / fixture, error)) << error;
        std::unique_ptr<PartSystem> system = seed.Apply(m_root / "parts.db", error);
        ASSERT_TRUE(system) << error;
        CVApp& app = CVApp::Instance();
        app.SetCurPartSysNo(app.AddPartSystem(std::move(system), "test"));
        app.EnableCmdMsgBox(true);
        SetHostMessageHandler([this](const std::string& text, const std::string& caption, unsigned) {
            m_shown.push_back(caption + "|" + text);
            if (m_answers.empty())
                return kIdOk;
            const int answer = m_answers.front();
            m_answers.erase(m_answers.begin());
            return answer;
        });
        ASSERT_TRUE(GetCurrentPartSystem()->LoadPart(1, m_part));
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

} // namespace mod00963

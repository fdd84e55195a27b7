#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tessara::test {

// Points the runtime folder (pipe sockets, lock files) at a fresh private folder for
// one test, and removes it afterwards. Create it before starting threads.
class RuntimeFolderScope {
public:
    RuntimeFolderScope()
    {
        std::string pattern = "/tmp/tessara-run-test-XXXXXX";
        m_folder = ::mkdtemp(pattern.data()) ? pattern : "";
        if (const char* previous = std::getenv("TESSARA_PIPE_DIR")) {
            m_previous = previous;
        }
        ::setenv("TESSARA_PIPE_DIR", m_folder.c_str(), 1);
    }
    ~RuntimeFolderScope()
    {
        m_previous ? ::setenv("TESSARA_PIPE_DIR", m_previous->c_str(), 1) : ::unsetenv("TESSARA_PIPE_DIR");
        const std::string command = "rm -rf '" + m_folder + "'";
        [[maybe_unused]] const int ignored = std::system(command.c_str());
    }
    RuntimeFolderScope(const RuntimeFolderScope&) = delete;
    RuntimeFolderScope& operator=(const RuntimeFolderScope&) = delete;

    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
    std::optional<std::string> m_previous;
};

} // namespace tessara::test

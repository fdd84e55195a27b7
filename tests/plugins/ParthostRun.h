#pragma once

// parthost driving a built plug-in module end to end, for the plug-ins' run tests.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>

namespace plugtest {

struct HostRun {
    int exitCode = -1;
    std::string output;
};

// One parthost run of the built plug-in module on examples/<plug-in>/<fixture>: its
// exit code (-1 when it did not end normally: killed by a signal, or still running
// after two minutes, a limit only a hang reaches) and printed lines. When it did not
// end normally, `output` says why and holds what it wrote on both channels.
inline HostRun RunParthost(const std::filesystem::path& source, const std::filesystem::path& binary,
                           const std::string& plugin, const std::string& module, const std::string& fixture,
                           const std::filesystem::path& out, const QStringList& options)
{
    QProcess process;
    QStringList args{"--seed", QString::fromStdString((source / "examples" / plugin / fixture).string()),
                     "--plugin", QString::fromStdString((binary / "plugins" / module).string()),
                     "--out", QString::fromStdString(out.string())};
    args << options;
    process.start(QString::fromStdString((binary / "bin/parthost").string()), args);
    HostRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(-1);
        run.output = "parthost " + args.join(' ').toStdString() + " was still running after 120 s\n--- stdout ---\n" +
                     process.readAllStandardOutput().toStdString() + "\n--- stderr ---\n" +
                     process.readAllStandardError().toStdString();
        return run;
    }
    run.output = process.readAllStandardOutput().toStdString();
    if (process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    } else {
        run.output = "parthost " + args.join(' ').toStdString() + " did not end normally (" +
                     process.errorString().toStdString() + ")\n--- stdout ---\n" + run.output +
                     "\n--- stderr ---\n" + process.readAllStandardError().toStdString();
    }
    return run;
}
inline std::string ReadFileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A parameterised run test whose runs write below an output folder of its own:
// "<name>-<pid>-<n>" in the temporary folder, emptied before and removed after.
template <class Case>
class RunFolderTest : public ::testing::TestWithParam<Case> {
protected:
    explicit RunFolderTest(std::string name) : m_name(std::move(name)) {}
    void SetUp() override
    {
        m_out = std::filesystem::temp_directory_path() /
                (m_name + "-" + std::to_string(::getpid()) + "-" + std::to_string(s_counter++));
        std::filesystem::remove_all(m_out);
    }
    void TearDown() override { std::filesystem::remove_all(m_out); }

    std::filesystem::path m_out;

private:
    std::string m_name;
    static inline int s_counter = 0;
};

} // namespace plugtest

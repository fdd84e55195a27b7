#pragma once

// parthost driving a built plug-in module end to end, for the plug-ins' run tests.
#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace plugtest {

struct HostRun {
    int exitCode = -1;
    std::string output;
};

// One parthost run of the built plug-in module on examples/<plug-in>/<fixture>: its
// exit code (-1 when it did not end normally within two minutes) and printed lines.
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
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = process.readAllStandardOutput().toStdString();
    return run;
}
inline std::string ReadFileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace plugtest

#include "viewer/files/LasExport.h"

#include "platform/Files.h"
#include "platform/Log.h"
#include "viewer/files/ExternalTool.h"
#include "viewer/files/LasDump.h"
#include "viewer/files/PointTextExport.h"

#include <algorithm>
#include <atomic>
#include <unistd.h>
#include <cctype>

namespace {

bool IsLazPath(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext == ".laz";
}

std::string CommandLine(const std::vector<std::string>& argv)
{
    std::string line;
    for (const std::string& a : argv) line += (line.empty() ? "" : " ") + a;
    return line;
}

// Runs one tool; false (with the reason in result) unless it exits 0 and its
// output is there.
bool RunTool(const std::vector<std::string>& argv, const std::string& output, const std::function<void()>& wait,
             LasExportResult& result)
{
    const ExternalToolResult run = RunExternalTool(argv, wait);
    if (!run.started) {
        result.notStarted = CommandLine(argv);
        result.error = argv[0] + " could not be started";
        return false;
    }
    if (run.exitCode != 0 || !tessara::FileExists(output)) {
        result.error = argv[0] + " failed (exit code " + std::to_string(run.exitCode) + ") for " + output;
        return false;
    }
    return true;
}

// The tools write beside the target under this name, renamed over it only after
// the tool succeeded: an old file of the target's name proves nothing.
std::string SiblingTemp(const std::string& target)
{
    const std::size_t slash = target.find_last_of('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    return target.substr(0, nameAt) + ".~" + target.substr(nameAt) + ".part";
}

}  // namespace

std::string UniqueExportSuffix()
{
    static std::atomic<std::uint64_t> counter{0};
    return "." + std::to_string(::getpid()) + "." + std::to_string(counter.fetch_add(1) + 1);
}

LasExportResult ExportLasFile(const std::string& path, const CModelDataMng& store, const MTRX& toSurvey,
                              const LasExportSettings& settings,
                              const std::function<void(const std::function<void()>&)>& underLock,
                              const std::function<void()>& wait)
{
    LasExportResult result;
    const bool laz = IsLazPath(path);
    const std::int64_t perFile = lasdump::PointsPerFile(settings.mode, settings.sizeMb, settings.pointUnits, laz);
    const std::string temp = tessara::TempFolder();
    if (temp.empty() || path.empty()) {
        result.error = "no temporary folder";
        return result;
    }
    // Names of this export alone: another export of this program, or another
    // viewer of the same user, may be writing its own at the same time.
    const std::string unique = UniqueExportSuffix();
    const std::string dump = temp + "~QUONVEIWLASTEMP" + unique + ".DAT";
    const std::string tempLas = temp + "copytemplas" + unique + ".las";
    const auto cleanUp = [&] {
        tessara::DeleteFile(dump);
        if (laz) tessara::DeleteFile(tempLas);
    };

    lasdump::Position at;
    for (std::int64_t fileNumber = 1;;) {
        lasdump::DumpResult d;
        underLock([&] { d = lasdump::WriteDump(dump, store, toSurvey, at, perFile); });
        if (!d.written) {
            if (!d.error.empty()) {
                result.error = d.error;
                break;
            }
            if (d.done) {
                result.ok = !result.files.empty();
                if (!result.ok) result.error = "no shown points";
                break;
            }
            continue;   // a stretch with no readable point: go on from where it ended
        }
        const std::string out = perFile > 0 ? MakeNumberedFileName(path, fileNumber) : path;
        const std::string partial = SiblingTemp(out);
        tessara::DeleteFile(partial);
        const std::string las = laz ? tempLas : partial;
        bool ok = RunTool({"lasconsole", dump, las}, las, wait, result);
        if (laz) tessara::DeleteFile(dump);   // the disk space for the LAZ
        if (ok && laz) ok = RunTool({"lazpack", "-i", las, "-o", partial}, partial, wait, result);
        if (ok && !tessara::RenameOver(partial, out)) {
            result.error = "cannot rename " + partial + " to " + out;
            ok = false;
        }
        // The target is complete before the scratch files go.
        tessara::DeleteFile(partial);
        cleanUp();
        if (!ok) break;
        result.files.push_back(out);
        ++fileNumber;
        if (d.done) {
            result.ok = true;
            break;
        }
    }
    cleanUp();
    if (!result.ok) tessara::Log("LAS export to %s failed: %s", path.c_str(), result.error.c_str());
    return result;
}

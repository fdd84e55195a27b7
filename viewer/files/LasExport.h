#pragma once

#include "outside/MTRX.h"

#include <functional>
#include <string>
#include <vector>

class CModelDataMng;

// The LAS and LAZ export of the shown point clouds: each output file's points go
// into a dump in the per-user temporary folder, lasconsole turns it into LAS, and
// for a ".laz" target lazpack compresses that LAS into the target. The store is
// read only inside underLock (the dump); the tools run without it.
struct LasExportResult {
    bool ok = false;                    // every output file was written
    std::vector<std::string> files;     // the files completed, in order
    std::string notStarted;             // the command line of a tool that could not start
    std::string error;
};

struct LasExportSettings {
    int mode = 0;          // 1 by size, 2 by points, else one file
    int sizeMb = 200;
    int pointUnits = 100;  // x 10,000 points
};

//! ".<process id>.<n>": what makes one export's dump and temporary LAS names its own.
std::string UniqueExportSuffix();

//! Runs the export. underLock runs its argument with the store locked; wait is
//! called while a tool runs (see RunExternalTool). A tool counts only when it exits
//! with 0 and leaves its output; the temporary files go on every path, and the
//! files completed before a failure stay.
LasExportResult ExportLasFile(const std::string& path, const CModelDataMng& store, const MTRX& toSurvey,
                              const LasExportSettings& settings,
                              const std::function<void(const std::function<void()>&)>& underLock,
                              const std::function<void()>& wait = {});

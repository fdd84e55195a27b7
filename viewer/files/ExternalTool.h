#pragma once

#include <functional>
#include <string>
#include <vector>

// Runs one of our console programs (lasconsole, lazpack) from an argument vector,
// without a shell. The program is looked for beside the running executable first,
// then on PATH.
struct ExternalToolResult {
    bool started = false;
    int exitCode = -1;      // -1 when killed by a signal or not started
};

//! The path the program would be started from: beside the executable when it is
//! there, else the bare name for the PATH lookup.
std::string FindExternalTool(const std::string& name);

//! Starts argv (argv[0] a program name) and waits for it. While it runs, wait is
//! called over and over (the UI thread pumps its events there); without one it
//! simply blocks.
ExternalToolResult RunExternalTool(const std::vector<std::string>& argv, const std::function<void()>& wait = {});

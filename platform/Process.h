#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessara {

// Child programs, started from an argument vector without a shell; argv[0] is looked
// up on PATH when it holds no '/'. Output goes where the viewer's own goes.

// The child's process id, or nullopt when it could not be started.
std::optional<int> StartProcess(const std::vector<std::string>& argv);

// Waits for a started child and returns its exit code; -1 when it was killed by a
// signal or is not a child of this process.
int WaitProcess(int processId);

// Starts, waits and returns the exit code; -1 when it could not be started.
int RunProcess(const std::vector<std::string>& argv);

} // namespace tessara

#pragma once

#include <cstdint>

// Fault injection for saves, in the test program itself: write, pwrite, fsync,
// fdatasync, rename and link calls of the whole process (ours, Qt's, the C++
// library's) are counted as steps, writes only when they go to a regular file.
// Armed, the chosen step kills the process (SIGKILL, as a crash or power cut would
// stop it) or fails with an error number, as a full or read-only disk would.
namespace writefaults {

enum class Action { Count, Kill, Fail };

// Starts counting at step 0; at step `at` does what `action` says (Count: nothing).
void Arm(Action action, std::uint64_t at = 0, int error = 0);
// Stops counting and answers the number of steps seen since Arm.
std::uint64_t Disarm();

} // namespace writefaults

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessara {

// Writes a file so that the previous one survives until the new one is complete:
// the bytes go to a hidden sibling temporary file, which Commit() syncs to disk and renames
// over the target. Destroyed without Commit(), it removes the temporary file and the
// target stays as it was.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string targetPath);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file beside the target. False when the folder is missing
    // or not writable.
    bool Open();
    // Appends bytes; false on any write error (the commit will then fail too).
    bool Write(const void* data, std::size_t size);
    bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }
    // Overwrites bytes already written (a field filled in once the rest is known);
    // false, and the commit fails, when the range is not inside what was written.
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t size);
    // The temporary file, for writers that open it themselves (streams, libraries);
    // they must close it before Commit().
    const std::string& TempPath() const { return m_tempPath; }
    // Asks the system to start writing what was appended since the last call to disk
    // without waiting for it, so a long file streams out while the writer computes
    // the rest and Commit's sync has little left. Never needed for correctness.
    void StartWriteback();
    // Syncs, closes and renames over the target. False leaves the target untouched.
    bool Commit();
    // Closes and renames over the target without syncing: for scratch files that
    // another process reads at once and that are deleted after, where a crash
    // loses nothing of the user's. Still never half a file under the target's name.
    bool CommitUnsynced();
    void Discard();

private:
    // Writes at the end (offset < 0) or at the offset, retrying short writes.
    bool WriteAll(const void* data, std::size_t size, std::int64_t offset);
    bool Finish(bool sync);

    std::string m_targetPath;
    std::string m_tempPath;
    int m_fd = -1;
    bool m_failed = false;
    std::uint64_t m_appended = 0;         // bytes appended at the end
    std::uint64_t m_writebackStart = 0;   // where the next StartWriteback begins
};

// The steps of every atomic save in this process, in order, for tests that stop a
// save at a chosen step (a child process killing itself there) or count them.
enum class SaveStep { Write, Sync, Rename };
using SaveStepHook = void (*)(SaveStep step, std::uint64_t index);
// Installs the hook (null removes it) and restarts the step count at 0; returns the
// previous hook. Set it before the saves it watches start.
SaveStepHook SetSaveStepHook(SaveStepHook hook);

} // namespace tessara

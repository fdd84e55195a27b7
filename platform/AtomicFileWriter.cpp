#include "platform/AtomicFileWriter.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tessara {
namespace {

std::string ParentFolder(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The rename itself is only durable once the folder entry is synced.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::atomic<SaveStepHook> g_saveStepHook{nullptr};
std::atomic<std::uint64_t> g_saveStepIndex{0};

void BeforeStep(SaveStep step)
{
    if (const SaveStepHook hook = g_saveStepHook.load(std::memory_order_acquire)) {
        hook(step, g_saveStepIndex.fetch_add(1, std::memory_order_relaxed));
    }
}

} // namespace

SaveStepHook SetSaveStepHook(SaveStepHook hook)
{
    g_saveStepIndex.store(0, std::memory_order_relaxed);
    return g_saveStepHook.exchange(hook, std::memory_order_acq_rel);
}

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : m_targetPath(std::move(targetPath)) {}

AtomicFileWriter::~AtomicFileWriter()
{
    Discard();
}

bool AtomicFileWriter::Open()
{
    Discard();
    m_failed = false;
    // A hidden sibling: a save stopped half-way (the process killed) leaves nothing in
    // the folder that a user would take for one of their files.
    const std::size_t slash = m_targetPath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string pattern = m_targetPath.substr(0, nameStart) + "." + m_targetPath.substr(nameStart) + ".~tmpXXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    m_appended = m_writebackStart = 0;
    m_fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (m_fd < 0) {
        return false;
    }
    m_tempPath = buffer.data();
    // mkostemp makes the file 0600; a replaced file keeps its mode, a new one gets
    // the usual 0644.
    struct stat target {};
    const mode_t mode = ::stat(m_targetPath.c_str(), &target) == 0 ? (target.st_mode & 07777) : 0644;
    ::fchmod(m_fd, mode);
    return true;
}

bool AtomicFileWriter::Write(const void* data, std::size_t size)
{
    if (m_fd < 0) {
        m_failed = true;
        return false;
    }
    return WriteAll(data, size, -1);
}

bool AtomicFileWriter::WriteAt(std::uint64_t offset, const void* data, std::size_t size)
{
    struct stat written {};
    if (m_fd < 0 || ::fstat(m_fd, &written) != 0 || offset > static_cast<std::uint64_t>(written.st_size) ||
        size > static_cast<std::uint64_t>(written.st_size) - offset) {
        m_failed = true;
        return false;
    }
    return WriteAll(data, size, static_cast<std::int64_t>(offset));
}

bool AtomicFileWriter::WriteAll(const void* data, std::size_t size, std::int64_t offset)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        BeforeStep(SaveStep::Write);
        const ssize_t done = offset < 0 ? ::write(m_fd, bytes, size)
                                        : ::pwrite(m_fd, bytes, size, static_cast<off_t>(offset));
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            m_failed = true;
            return false;
        }
        bytes += done;
        size -= static_cast<std::size_t>(done);
        if (offset >= 0) {
            offset += done;
        } else {
            m_appended += static_cast<std::uint64_t>(done);
        }
    }
    return true;
}

void AtomicFileWriter::StartWriteback()
{
    if (m_fd < 0 || m_appended <= m_writebackStart) return;
    ::sync_file_range(m_fd, static_cast<off_t>(m_writebackStart), static_cast<off_t>(m_appended - m_writebackStart),
                      SYNC_FILE_RANGE_WRITE);
    m_writebackStart = m_appended;
}

bool AtomicFileWriter::Commit()
{
    return Finish(true);
}

bool AtomicFileWriter::CommitUnsynced()
{
    return Finish(false);
}

bool AtomicFileWriter::Finish(bool sync)
{
    if (m_fd < 0 || m_failed) {
        Discard();
        return false;
    }
    if (sync) BeforeStep(SaveStep::Sync);
    const bool synced = !sync || ::fsync(m_fd) == 0;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (synced && closed) BeforeStep(SaveStep::Rename);
    if (!synced || !closed || ::rename(m_tempPath.c_str(), m_targetPath.c_str()) != 0) {
        Discard();
        return false;
    }
    m_tempPath.clear();
    if (sync) SyncFolder(ParentFolder(m_targetPath));
    return true;
}

void AtomicFileWriter::Discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
}

} // namespace tessara

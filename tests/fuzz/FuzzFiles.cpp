#include "FuzzFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/mman.h>
#include <unistd.h>

namespace fuzzsupport {

InputFile::InputFile(const std::uint8_t* data, std::size_t size)
{
    m_fd = ::memfd_create("fuzz-input", MFD_CLOEXEC);
    if (m_fd < 0) throw std::runtime_error("memfd_create failed");
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, size - done);
        if (n <= 0) throw std::runtime_error("cannot fill the input file");
        done += std::size_t(n);
    }
    m_path = "/proc/self/fd/" + std::to_string(m_fd);
}

InputFile::~InputFile()
{
    if (m_fd >= 0) ::close(m_fd);
}

namespace {

std::string MakeScratchFolder()
{
    std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/tessara-fuzz-XXXXXX"
                                                                     : "/tmp/tessara-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
    static std::string removeAtExit;
    removeAtExit = pattern;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(removeAtExit, ec);
    });
    return pattern + "/";
}

} // namespace

const std::string& ScratchFolder()
{
    static const std::string folder = MakeScratchFolder();
    return folder;
}

void ClearScratchFolder()
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder(), ec))
        std::filesystem::remove_all(entry.path(), ec);
}

} // namespace fuzzsupport

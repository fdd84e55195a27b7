#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What the fuzz targets share: the fuzzer's bytes as a file that a reader opens by
// its path, and a private folder for what a target writes.
namespace fuzzsupport {

// The bytes in an anonymous memory file, reached through /proc/self/fd: readers open
// it like any other file, and no run touches the disk.
class InputFile {
public:
    InputFile(const std::uint8_t* data, std::size_t size);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& Path() const { return m_path; }

private:
    int m_fd = -1;
    std::string m_path;
};

// A folder of this process only (in memory when /dev/shm exists), made on first use
// and removed with everything in it when the process ends. Ends with '/'.
const std::string& ScratchFolder();

// Removes everything inside the scratch folder (between runs).
void ClearScratchFolder();

} // namespace fuzzsupport

// The entry point libFuzzer calls, and the replay program in the regular build.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

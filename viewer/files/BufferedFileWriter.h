#pragma once

#include "platform/AtomicFileWriter.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

// An atomic file written through a memory buffer: the exports build their lines or
// records here and the bytes reach the sibling temporary file in large blocks. The
// target appears only at Commit(); on any failure, or without Commit(), the
// previous file at the path stays as it was and the temporary file goes.
class BufferedFileWriter {
public:
    explicit BufferedFileWriter(const std::string& path) : m_file(path) {}
    BufferedFileWriter(const BufferedFileWriter&) = delete;
    BufferedFileWriter& operator=(const BufferedFileWriter&) = delete;

    bool Open() { return m_ok = m_file.Open(); }

    void Append(std::string_view bytes)
    {
        m_buffer.append(bytes);
        m_written += bytes.size();
        if (m_buffer.size() >= kFlushBytes) Flush();
    }
    //! Little-endian on the platforms we build for, packed as the file formats are.
    template <class T>
    void Put(T value)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        Append(std::string_view(bytes, sizeof(T)));
    }
    //! Bytes appended so far.
    std::uint64_t Written() const { return m_written; }
    //! False once a write has failed.
    bool Ok() const { return m_ok; }

    //! Writes what is buffered, syncs and renames over the target.
    bool Commit()
    {
        Flush();
        if (!m_ok) {
            m_file.Discard();
            return false;
        }
        return m_ok = m_file.Commit();
    }
    void Discard() { m_file.Discard(); }

private:
    static constexpr std::size_t kFlushBytes = std::size_t{1} << 20;

    void Flush()
    {
        if (m_ok && !m_buffer.empty()) m_ok = m_file.Write(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }

    tessara::AtomicFileWriter m_file;
    std::string m_buffer;
    std::uint64_t m_written = 0;
    bool m_ok = false;
};

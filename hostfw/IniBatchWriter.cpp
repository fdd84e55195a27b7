#include "hostfw/IniBatchWriter.h"

IniBatchWriter::IniBatchWriter(std::filesystem::path path) : m_path(std::move(path))
{
    m_readable = m_file.Load(m_path, m_error);
}

bool IniBatchWriter::WriteString(const std::string& section, const std::string& key,
                                 const std::string& value)
{
    if (!m_file.Set(section, key, value)) {
        m_failed = true;
        m_error = "CP932 で表せない文字があります: " + key;
        return false;
    }
    return true;
}

bool IniBatchWriter::WriteInt(const std::string& section, const std::string& key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

bool IniBatchWriter::Commit(std::string& error)
{
    if (!m_readable || m_failed) {
        error = m_error;
        return false;
    }
    return m_file.Save(m_path, error);
}

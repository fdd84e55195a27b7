#include "hostfw/IniFile.h"

#include "platform/Cp932.h"
#include "platform/Files.h"

#include <system_error>

namespace {

std::string Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// Case folding on ASCII letters only, after decoding: folding CP932 bytes would make
// trail bytes 0x41-0x5A equal 0x61-0x7A ("ア" 83 41 and "ヂ" 83 61).
bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

std::optional<std::string> Decode(std::string_view bytes)
{
    return tessara::FromCp932(tessara::Cp932Bytes::FromBytes(bytes));
}

std::string StripQuotes(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// A name no decoded text can equal (names that did not decode never match).
const std::string kUndecodable("\x01undecodable", 13);

} // namespace

bool IniFile::Load(const std::filesystem::path& path, std::string& error)
{
    m_lines.clear();
    m_sections.clear();
    m_existed = false;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return true;
    const std::optional<std::string> bytes = tessara::ReadWholeFile(path.string());
    if (!bytes) {
        error = "設定ファイルを読めません: " + path.string();
        return false;
    }
    m_existed = true;
    int section = -1;
    std::size_t start = 0;
    const std::string& all = *bytes;
    while (start < all.size()) {
        std::size_t end = all.find('\n', start);
        if (end == std::string::npos)
            end = all.size();
        std::string raw = all.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        start = end + 1;

        Line line;
        line.raw = raw;
        const std::string trimmed = Trim(raw);
        if (!trimmed.empty() && trimmed.front() == '[') {
            // The closing bracket is found character by character: CP932 trail bytes
            // include ']' (the 評 of "基準点品質評価表" is 95 5D).
            std::size_t close = std::string::npos;
            for (std::size_t i = 1; i < trimmed.size(); ++i) {
                if (trimmed[i] == ']') {
                    close = i;
                    break;
                }
                if (tessara::IsCp932LeadByte(static_cast<unsigned char>(trimmed[i])))
                    ++i;
            }
            const std::string name = Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos
                                                                                       : close - 1));
            m_sections.push_back(Decode(name).value_or(kUndecodable));
            section = static_cast<int>(m_sections.size()) - 1;
            line.section = section;
        } else if (section >= 0 && !trimmed.empty() && trimmed.front() != ';') {
            const std::size_t equals = raw.find('=');
            if (equals != std::string::npos) {
                line.key = Decode(Trim(std::string_view(raw).substr(0, equals))).value_or(kUndecodable);
                line.isKey = true;
                line.section = section;
            }
        } else {
            line.section = section;
        }
        m_lines.push_back(std::move(line));
    }
    return true;
}

int IniFile::FindSection(const std::string& name) const
{
    for (std::size_t i = 0; i < m_sections.size(); ++i)
        if (SameName(m_sections[i], name))
            return static_cast<int>(i);
    return -1;
}

int IniFile::FindKeyLine(int section, const std::string& key) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].isKey && m_lines[i].section == section && SameName(m_lines[i].key, key))
            return static_cast<int>(i);
    return -1;
}

std::optional<std::string> IniFile::Get(const std::string& section, const std::string& key) const
{
    const int s = FindSection(section);
    if (s < 0)
        return std::nullopt;
    const int k = FindKeyLine(s, key);
    if (k < 0)
        return std::nullopt;
    const std::string& raw = m_lines[static_cast<std::size_t>(k)].raw;
    const std::string value = StripQuotes(Trim(std::string_view(raw).substr(raw.find('=') + 1)));
    return Decode(value);
}

bool IniFile::Set(const std::string& section, const std::string& key, const std::string& value)
{
    const auto keyBytes = tessara::ToCp932(key);
    const auto valueBytes = tessara::ToCp932(value);
    const auto sectionBytes = tessara::ToCp932(section);
    if (!keyBytes || !valueBytes || !sectionBytes)
        return false;
    Line line;
    line.raw = keyBytes->Bytes() + "=" + valueBytes->Bytes();
    line.key = key;
    line.isKey = true;

    int s = FindSection(section);
    if (s < 0) {
        m_sections.push_back(section);
        s = static_cast<int>(m_sections.size()) - 1;
        Line header;
        header.raw = "[" + sectionBytes->Bytes() + "]";
        header.section = s;
        m_lines.push_back(std::move(header));
        line.section = s;
        m_lines.push_back(std::move(line));
        return true;
    }
    line.section = s;
    if (const int k = FindKeyLine(s, key); k >= 0) {
        m_lines[static_cast<std::size_t>(k)].raw = line.raw;
        return true;
    }
    // After the last key of the first matching section, or after its header.
    std::size_t insertAt = 0;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].section != s)
            continue;
        const std::string trimmed = Trim(m_lines[i].raw);
        if (m_lines[i].isKey || (!trimmed.empty() && trimmed.front() == '['))
            insertAt = i + 1;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
    return true;
}

bool IniFile::Remove(const std::string& section, const std::string& key)
{
    const int s = FindSection(section);
    const int k = s < 0 ? -1 : FindKeyLine(s, key);
    if (k < 0)
        return false;
    m_lines.erase(m_lines.begin() + k);
    return true;
}

bool IniFile::Save(const std::filesystem::path& path, std::string& error) const
{
    std::string bytes;
    for (const Line& line : m_lines) {
        bytes += line.raw;
        bytes += "\r\n";
    }
    std::error_code ec;
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), ec);
    if (!tessara::AtomicWriteFile(path.string(), bytes)) {
        error = "設定ファイルに書き込めません: " + path.string();
        return false;
    }
    return true;
}

std::string V_GetProfileString(const std::string& section, const std::string& key,
                               const std::string& def, const std::string& file)
{
    IniFile ini;
    std::string error;
    if (!ini.Load(file, error))
        return def;
    return ini.Get(section, key).value_or(def);
}

bool V_WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value, const std::string& file)
{
    IniFile ini;
    std::string error;
    if (!ini.Load(file, error) || !ini.Set(section, key, value))
        return false;
    return ini.Save(file, error);
}

bool V_WriteProfileInt(const std::string& section, const std::string& key, int value,
                       const std::string& file)
{
    return V_WriteProfileString(section, key, std::to_string(value), file);
}

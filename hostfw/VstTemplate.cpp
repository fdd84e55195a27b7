#include "hostfw/VstTemplate.h"

#include "platform/Files.h"

#include <sstream>

namespace {

bool ParseEditor(const std::string& name, VstTemplate::Editor& out)
{
    static const std::pair<const char*, VstTemplate::Editor> kNames[] = {
        {"text", VstTemplate::Editor::Text},     {"list", VstTemplate::Editor::List},
        {"switch", VstTemplate::Editor::Switch}, {"number", VstTemplate::Editor::Number},
        {"part", VstTemplate::Editor::Part},     {"label", VstTemplate::Editor::Label},
        {"choice", VstTemplate::Editor::Choice},
    };
    for (const auto& [text, editor] : kNames)
        if (name == text) {
            out = editor;
            return true;
        }
    return false;
}

std::vector<std::string> SplitTabs(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = text.find('\t', start);
        out.push_back(text.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return out;
        start = tab + 1;
    }
}

} // namespace

bool VstTemplate::Load(const std::filesystem::path& file, std::string& error)
{
    const std::optional<std::string> text = tessara::ReadWholeFile(file.string());
    if (!text) {
        error = "シートテンプレートがありません: " + file.string();
        return false;
    }
    if (!Parse(*text, error)) {
        error = file.string() + ": " + error;
        return false;
    }
    return true;
}

bool VstTemplate::Parse(const std::string& text, std::string& error)
{
    m_cells.clear();
    m_isList = false;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool sawKind = false;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        const std::string where = "line " + std::to_string(number) + ": ";
        if (line.rfind("kind ", 0) == 0) {
            const std::string kind = line.substr(5);
            if (kind != "plain" && kind != "list") {
                error = where + "kind is plain or list";
                return false;
            }
            m_isList = kind == "list";
            sawKind = true;
            continue;
        }
        const bool isRow = line.rfind("row ", 0) == 0;
        const bool isCol = line.rfind("col ", 0) == 0;
        if (!isRow && !isCol) {
            error = where + "expected kind, row or col";
            return false;
        }
        if ((isCol && !m_isList) || (isRow && m_isList)) {
            error = where + (m_isList ? "a list sheet has col lines" : "a plain sheet has row lines");
            return false;
        }
        const std::vector<std::string> parts = SplitTabs(line.substr(4));
        Cell cell;
        if (parts.size() != 5 || !ParseEditor(parts[4], cell.editor)) {
            error = where + "label, record, field, cell code and editor separated by tabs";
            return false;
        }
        cell.label = parts[0];
        cell.record = parts[1];
        try {
            std::size_t used = 0;
            cell.field = std::stoi(parts[2], &used);
            if (used != parts[2].size() || cell.field < 0)
                throw std::invalid_argument("field");
            const unsigned long code = std::stoul(parts[3], &used, 16);
            if (used != parts[3].size() || code > 0xFFFFFFFFul)
                throw std::invalid_argument("code");
            cell.code = static_cast<DWORD>(code);
        } catch (const std::exception&) {
            error = where + "field is a number and the cell code hexadecimal";
            return false;
        }
        m_cells.push_back(std::move(cell));
    }
    if (!sawKind) {
        error = "no kind line";
        return false;
    }
    return true;
}

int VstTemplate::FindCode(DWORD code) const
{
    for (std::size_t i = 0; i < m_cells.size(); ++i)
        if (m_cells[i].code == code)
            return static_cast<int>(i);
    return -1;
}

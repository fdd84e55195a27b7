#include "plugins/common/CodedCells.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CVPartVSheet.h"
#include "hostfw/GridTypes.h"
#include "hostfw/HostMessages.h"
#include "plugins/common/ZoneNumeral.h"

#include <charconv>

namespace plugcommon {

namespace {

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::optional<long long> WholeNumber(const std::string& text)
{
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty())
        return std::nullopt;
    return value;
}

} // namespace

CodedList::CodedList(std::vector<Value> values, std::string what) : m_values(std::move(values)), m_what(std::move(what))
{
}

std::vector<std::string> CodedList::Names() const
{
    std::vector<std::string> names;
    for (const Value& v : m_values)
        names.push_back(v.name);
    return names;
}

std::optional<std::string> CodedList::NameOf(long long value) const
{
    for (const Value& v : m_values) {
        if (v.value == value)
            return v.name;
    }
    return std::nullopt;
}

std::optional<short> CodedList::ValueOf(const std::string& typed) const
{
    const std::string text = Trimmed(typed);
    for (const Value& v : m_values) {
        if (v.name == text)
            return v.value;
    }
    const std::optional<long long> number = WholeNumber(text);
    if (number && NameOf(*number))
        return static_cast<short>(*number);
    return std::nullopt;
}

std::string CodedList::RefusalText() const
{
    std::string text = m_what + "は一覧の中から選んでください。\n指定できるもの: ";
    for (std::size_t i = 0; i < m_values.size(); ++i)
        text += (i == 0 ? "" : "、") + std::to_string(m_values[i].value) + " " + m_values[i].name;
    return text;
}

const CodedList& CoordinateSystemList()
{
    static const CodedList list = [] {
        std::vector<CodedList::Value> values;
        for (short zone = 1; zone <= 19; ++zone)
            values.push_back({zone, FormatZoneField(zone)});
        return CodedList(std::move(values), "座標系");
    }();
    return list;
}

const CodedList& ControlPointGradeList()
{
    static const CodedList list({{1, "1級基準点"}, {2, "2級基準点"}, {3, "3級基準点"}, {4, "4級基準点"}}, "等級区分");
    return list;
}

const CodedList& LevellingGradeList()
{
    static const CodedList list({{1, "1級水準測量"},
                                 {2, "2級水準測量"},
                                 {3, "3級水準測量"},
                                 {4, "4級水準測量"},
                                 {5, "簡易水準測量"}},
                                "等級区分");
    return list;
}

const CodedList& NetworkKindList()
{
    static const CodedList list({{0, "厳密網"}, {1, "任意網"}, {2, "単路線"}}, "対象種別");
    return list;
}

const CodedList& GnssSurveyKindList()
{
    static const CodedList list(
        {{0, "基準点測量"}, {1, "水準測量"}, {2, "標高測量(３級)"}, {3, "標高測量(４級)"}}, "測量区分");
    return list;
}

CodedCells::CodedCells(std::map<std::pair<short, DWORD>, const CodedList*> cells) : m_cells(std::move(cells)) {}

const CodedList* CodedCells::ListOf(short pageType, DWORD code) const
{
    const auto it = m_cells.find({pageType, code});
    return it == m_cells.end() ? nullptr : it->second;
}

bool CodedCells::FillList(GridListBox* list, short pageType, DWORD code) const
{
    const CodedList* coded = ListOf(pageType, code);
    if (coded == nullptr || list == nullptr)
        return false;
    for (const std::string& name : coded->Names())
        list->AddString(name);
    return true;
}

void CodedCells::ShowName(short pageType, DWORD code, std::string& text) const
{
    const CodedList* coded = ListOf(pageType, code);
    if (coded == nullptr)
        return;
    if (const std::optional<long long> number = WholeNumber(text)) {
        if (const std::optional<std::string> name = coded->NameOf(*number))
            text = *name;
    }
}

std::optional<std::string> CodedCells::Admit(short pageType, DWORD code, const std::string& typed,
                                             const std::string& caption) const
{
    const CodedList* coded = ListOf(pageType, code);
    if (coded == nullptr)
        return typed;
    if (const std::optional<short> value = coded->ValueOf(typed))
        return std::to_string(*value);
    HostMessageBox(coded->RefusalText(), caption, kMbOk | kMbIconExclamation);
    return std::nullopt;
}

bool CodedCells::StoreChosen(CVPartVSheet& sheet, short pageType, const GridCellInfo& cell) const
{
    const CodedList* coded = ListOf(pageType, cell.code);
    if (coded == nullptr || sheet.GetGrid() == nullptr)
        return false;
    const int selected = sheet.GetGrid()->GetDropDownListBox()->GetCurSel();
    if (selected < 0 || static_cast<std::size_t>(selected) >= coded->Values().size())
        return false;
    const short value = coded->Values()[static_cast<std::size_t>(selected)].value;
    return sheet.SetPartField(sheet.RowToRec(cell.row), cell.code, std::to_string(value)) != 0;
}

} // namespace plugcommon

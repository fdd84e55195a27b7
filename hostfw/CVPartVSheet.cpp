#include "hostfw/CVPartVSheet.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartData.h"
#include "hostfw/RecordLayout.h"
#include "platform/Cp932.h"
#include "platform/Numbers.h"

namespace {

constexpr const char* kInputCaption = "入力エラー";
constexpr const char* kSwitchAuto = "自動";
constexpr const char* kSwitchManual = "手入力";

// Text cells whose code carries 0xF in bits 16 to 19 are fixed-length text fields.
bool IsFixedTextCode(DWORD code)
{
    return ((code >> 16) & 0xFu) == 0xFu;
}

} // namespace

CVPartVSheet::CVPartVSheet(QWidget* parent) : CVSheet(parent) {}

CVPartVSheet::~CVPartVSheet() = default;

CSvyPartVSheet::CSvyPartVSheet(QWidget* parent) : CVPartVSheet(parent) {}

void CVPartVSheet::Init(VCmdData* cmd, PartData* data, int sheetNo)
{
    m_cmd = cmd;
    m_data = data;
    m_sheetNo = sheetNo;
    RedrawGrid();
}

void CVPartVSheet::ReloadPartData()
{
    RedrawGrid();
}

namespace {

struct FieldRef {
    std::string record;
    int field = 0;
    VstTemplate::Editor editor = VstTemplate::Editor::Text;
    FieldKind kind = FieldKind::Text;
};

bool Resolve(const VstTemplate& form, const PartData* data, int sheetNo, DWORD code, FieldRef& out)
{
    const int index = form.FindCode(code);
    if (index < 0 || !data)
        return false;
    const VstTemplate::Cell& cell = form.Cells()[static_cast<std::size_t>(index)];
    out.record = cell.record;
    out.field = cell.field;
    out.editor = cell.editor;
    const RecordSet* set = data->GetRecordSet();
    if (out.record.empty() && set)
        if (const RecordLayout* layout = set->ByTypeNo(sheetNo))
            out.record = layout->Name();
    if (out.record.empty())
        return false;
    const RecordLayout* layout = set ? set->ByName(out.record) : nullptr;
    if (layout && static_cast<std::size_t>(out.field) < layout->FieldCount())
        out.kind = layout->Fields()[static_cast<std::size_t>(out.field)];
    else if (cell.editor != VstTemplate::Editor::Text && cell.editor != VstTemplate::Editor::List &&
             cell.editor != VstTemplate::Editor::Label)
        out.kind = cell.editor == VstTemplate::Editor::Part ? FieldKind::Dword : FieldKind::Short;
    return true;
}

} // namespace

int CVPartVSheet::RowCount() const
{
    if (!Template().IsList())
        return CVSheet::RowCount();
    if (!m_data || Template().Cells().empty())
        return 1;
    FieldRef ref;
    if (!Resolve(Template(), m_data, m_sheetNo, Template().Cells().front().code, ref))
        return 1;
    return static_cast<int>(m_data->RowCount(ref.record)) + 1;
}

BOOL CVPartVSheet::GetPartField(int rec, DWORD code, std::string& text) const
{
    text.clear();
    FieldRef ref;
    if (rec < 0 || !Resolve(Template(), m_data, m_sheetNo, code, ref))
        return 0;
    PartRecord record;
    if (!m_data->GetRecord(ref.record, static_cast<std::size_t>(rec), record))
        return 0;
    if (ref.kind == FieldKind::Text)
        text = record.Text(static_cast<std::size_t>(ref.field));
    else if (ref.kind == FieldKind::Double)
        text = tessara::ShortestText(record.Double(static_cast<std::size_t>(ref.field)));
    else
        text = std::to_string(record.Long(static_cast<std::size_t>(ref.field)));
    return 1;
}

BOOL CVPartVSheet::SetPartField(int rec, DWORD code, const std::string& text)
{
    FieldRef ref;
    if (rec < 0 || !Resolve(Template(), m_data, m_sheetNo, code, ref))
        return 0;
    PartRecord record;
    m_data->GetRecord(ref.record, static_cast<std::size_t>(rec), record);
    const auto field = static_cast<std::size_t>(ref.field);
    const PartRecord before = record;
    if (ref.kind == FieldKind::Text) {
        // Refused, never cut or turned into "?": the user sees what would be lost.
        if (!tessara::ToCp932(text)) {
            RefuseInput("入力された文字列に使用できない文字が含まれています。");
            return 0;
        }
        if (tessara::Cp932Length(text) > kRecordTextBytes) {
            RefuseInput("入力された文字列が長すぎます（254バイトまで）。");
            return 0;
        }
        record.SetText(field, text);
    } else {
        std::optional<std::int64_t> value;
        if (ref.editor == VstTemplate::Editor::Switch && (text == kSwitchAuto || text == kSwitchManual))
            value = text == kSwitchAuto ? 0 : 1;
        else if (text.empty() && ref.kind == FieldKind::Dword)
            value = 0;
        else
            value = tessara::ParseInt64(text);
        const bool inRange = value && (ref.kind == FieldKind::Short ? (*value >= -32768 && *value <= 32767)
                                       : ref.kind == FieldKind::Dword ? (*value >= 0 && *value <= 0xFFFFFFFFLL)
                                                                      : true);
        if (!inRange) {
            RefuseInput("数値を正しく入力してください。");
            return 0;
        }
        if (ref.kind == FieldKind::Double)
            record.SetDouble(field, static_cast<double>(*value));
        else
            record.SetLong(field, *value);
    }
    m_data->PutRecord(ref.record, static_cast<std::size_t>(rec), record);
    FieldChange change;
    change.stored = 1;
    change.changed = before == record ? 0 : 1;
    int row = 0;
    int col = 0;
    if (CodeToCell(code, rec, row, col))
        change.cell = CellAt(row, col);
    change.cell.code = code;
    RedrawGrid();
    emit FieldChanged(this, change);
    return 1;
}

std::string CVPartVSheet::CellText(int row, int col) const
{
    const GridCellInfo cell = CellAt(row, col);
    if (cell.code == 0)
        return CVSheet::CellText(row, col);
    std::string text;
    if (!GetPartField(RowToRec(row), cell.code, text))
        return {};
    switch (EditorAt(row, col)) {
    case VstTemplate::Editor::Switch: return text == "0" ? kSwitchAuto : kSwitchManual;
    case VstTemplate::Editor::Part: return text == "0" ? std::string() : text;
    default: return text;
    }
}

void CVPartVSheet::RefuseInput(const std::string& reason)
{
    m_inputRefused = true;
    HostMessageBox(reason, kInputCaption, kMbOk | kMbIconExclamation);
}

bool CVPartVSheet::EditCellText(int row, int col, const std::string& text)
{
    m_inputRefused = false;
    if (IsCellReadOnly(row, col))
        return false;
    const GridCellInfo cell = CellAt(row, col);
    std::string before;
    GetPartField(RowToRec(row), cell.code, before);
    if (Template().IsList() && row == RowCount() - 1 && text.empty())
        return false;
    if (EditorAt(row, col) == VstTemplate::Editor::Text && IsFixedTextCode(cell.code))
        OnSetFixText(cell, text);
    else
        OnSetText(0, cell, text);
    std::string after;
    GetPartField(RowToRec(row), cell.code, after);
    return after != before || after == text;
}

std::vector<std::string> CVPartVSheet::CellListEntries(int row, int col)
{
    GridListBox* list = GetGrid()->GetDropDownListBox();
    list->ResetContent();
    OnGridInitList(CellAt(row, col));
    return list->Items();
}

bool CVPartVSheet::EditCellList(int row, int col, int entry)
{
    m_inputRefused = false;
    if (IsCellReadOnly(row, col))
        return false;
    const std::vector<std::string> entries = CellListEntries(row, col);
    if (entry < 0 || static_cast<std::size_t>(entry) >= entries.size())
        return false;
    const GridCellInfo cell = CellAt(row, col);
    GetGrid()->GetDropDownListBox()->SetCurSel(entry);
    GridDispInfo info;
    info.cell = cell;
    info.text = entries[static_cast<std::size_t>(entry)];
    OnGridSelListItem(info, cell);
    return true;
}

std::vector<std::string> CVPartVSheet::ListEntriesAt(int row, int col)
{
    return CellListEntries(row, col);
}

bool CVPartVSheet::CommitEdit(int row, int col, const std::string& text)
{
    return EditCellText(row, col, text);
}

bool CVPartVSheet::CommitList(int row, int col, int entry)
{
    return EditCellList(row, col, entry);
}

int CVPartVSheet::OnGridInitList(const GridCellInfo& cell)
{
    GridListBox* list = GetGrid()->GetDropDownListBox();
    int row = 0;
    int col = 0;
    if (list->GetCount() == 0 && CodeToCell(cell.code, 0, row, col) &&
        EditorAt(row, col) == VstTemplate::Editor::Switch) {
        list->AddString(kSwitchAuto);
        list->AddString(kSwitchManual);
    }
    return 0;
}

void CVPartVSheet::OnGridSelListItem(GridDispInfo&, const GridCellInfo& cell)
{
    // Switch cells store the entry index (0 automatic, 1 manual); the plug-ins store
    // the text of their own list cells.
    if (EditorAt(cell.row, cell.col) != VstTemplate::Editor::Switch)
        return;
    const int selected = GetGrid()->GetDropDownListBox()->GetCurSel();
    if (selected >= 0)
        SetPartField(RowToRec(cell.row), cell.code, std::to_string(selected));
}

void CVPartVSheet::OnSetText(int, const GridCellInfo& cell, const std::string& text)
{
    SetPartField(RowToRec(cell.row), cell.code, text);
}

void CVPartVSheet::OnSetFixText(const GridCellInfo& cell, const std::string& text)
{
    SetPartField(RowToRec(cell.row), cell.code, text);
}

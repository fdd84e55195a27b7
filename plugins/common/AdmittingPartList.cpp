#include "plugins/common/AdmittingPartList.h"

#include "hostfw/HostMessages.h"

#include <charconv>

namespace plugcommon {

AdmittingPartList::AdmittingPartList(int listMode, std::string caption, QWidget* parent)
    : CVSheetPartList(listMode, parent), m_caption(std::move(caption))
{
}

void AdmittingPartList::OnSetText(int flag, const GridCellInfo& cell, const std::string& text)
{
    if (EditorAt(cell.row, cell.col) != VstTemplate::Editor::Part) {
        CVSheetPartList::OnSetText(flag, cell, text);
        return;
    }
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    const std::string number = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    DWORD address = 0;
    const char* end = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), end, address);
    std::string held;
    GetPartField(RowToRec(cell.row), cell.code, held);
    // Not a part number (the field refuses it), an emptied cell, or the part it holds.
    if (number.empty() || ec != std::errc() || ptr != end || address == 0 || held == number) {
        CVSheetPartList::OnSetText(flag, cell, number);
        return;
    }
    const PartRefusal refusal = CheckTypedPart(address, cell.code);
    if (refusal.Refused()) {
        HostMessageBox(RefusalText(address, refusal), m_caption, kMbOk | kMbIconExclamation);
        return;
    }
    CVSheetPartList::OnSetText(flag, cell, number);
}

} // namespace plugcommon

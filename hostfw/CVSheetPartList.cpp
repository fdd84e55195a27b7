#include "hostfw/CVSheetPartList.h"

#include "hostfw/PartData.h"

#include <algorithm>
#include <map>

CVSheetPartList::CVSheetPartList(int listMode, QWidget* parent) : CVPartVSheet(parent), m_listMode(listMode) {}

bool CVSheetPartList::AddPart(DWORD address, DWORD code)
{
    int fromRow = 0;
    return AddPartFrom(address, code, fromRow);
}

int CVSheetPartList::AddPartsInColumns(const std::vector<std::pair<DWORD, DWORD>>& partsAndCodes)
{
    std::map<DWORD, int> fromRows;   // by column code
    int added = 0;
    for (const auto& [address, code] : partsAndCodes) {
        if (AddPartFrom(address, code, fromRows[code]))
            ++added;
    }
    return added;
}

bool CVSheetPartList::AddPartFrom(DWORD address, DWORD code, int& fromRow)
{
    if (address == 0 || !CheckFuncPart(address))
        return false;
    const int rows = RowCount();
    int target = rows - 1;   // the empty row at the end adds a record row
    for (int row = std::max(fromRow, 0); row + 1 < rows; ++row) {
        std::string text;
        GetPartField(RowToRec(row), code, text);
        if (text.empty() || text == "0") {
            target = row;
            break;
        }
    }
    fromRow = target;
    return SetPartField(RowToRec(target), code, std::to_string(address)) != 0;
}

BOOL CVSheetPartList::CheckFuncPart(DWORD address)
{
    return CheckFuncPartAddr(address);
}

BOOL CVSheetPartList::CheckFuncPartAddr(DWORD)
{
    return 1;
}

BOOL CVSheetPartList::CheckFuncZa(DWORD)
{
    return 0;
}

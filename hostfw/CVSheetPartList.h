#pragma once

#include "hostfw/CVPartVSheet.h"
#include "hostfw/HostTypes.h"

#include <utility>
#include <vector>

// A sheet listing part addresses of sibling calculations (a list record). A part
// enters only when CheckFuncPart admits it; figure elements when CheckFuncZa does.
class HOSTFW_API CVSheetPartList : public CVPartVSheet {
    Q_OBJECT
public:
    explicit CVSheetPartList(int listMode, QWidget* parent = nullptr);

    int GetListMode() const { return m_listMode; }
    // Adds address in the first empty part cell of column code (or appends a row);
    // false when refused.
    bool AddPart(DWORD address, DWORD code);
    // AddPart for each (address, column code) in order, with one pass over the rows of
    // each column: the rows before a column's last filled cell are not read again.
    // Answers how many were added.
    int AddPartsInColumns(const std::vector<std::pair<DWORD, DWORD>>& partsAndCodes);

    virtual BOOL CheckFuncPart(DWORD address);        // default: CheckFuncPartAddr
    virtual BOOL CheckFuncPartAddr(DWORD address);    // default: admits
    virtual BOOL CheckFuncZa(DWORD element);          // default: refuses

private:
    // AddPart looking for the empty cell from row fromRow on (the rows before it hold
    // parts); fromRow ends on the row tried.
    bool AddPartFrom(DWORD address, DWORD code, int& fromRow);

    int m_listMode;
};

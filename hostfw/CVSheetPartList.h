#pragma once

#include "hostfw/CVPartVSheet.h"
#include "hostfw/HostTypes.h"

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

    virtual BOOL CheckFuncPart(DWORD address);        // default: CheckFuncPartAddr
    virtual BOOL CheckFuncPartAddr(DWORD address);    // default: admits
    virtual BOOL CheckFuncZa(DWORD element);          // default: refuses

private:
    int m_listMode;
};

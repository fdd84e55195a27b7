#pragma once

#include "hostfw/CVSheetPartList.h"
#include "plugins/common/PartListFilter.h"

#include <string>

namespace plugcommon {

// A part list of a table dialog whose part cells take a typed part number only when
// the list would admit it from a search: the same program, slot, grade and duplicate
// rules, or a message that says why not. Emptying a cell and typing the number it
// already holds pass.
class AdmittingPartList : public CVSheetPartList {
    Q_OBJECT
public:
    AdmittingPartList(int listMode, std::string caption, QWidget* parent = nullptr);

    // Why the part may not enter the cell of code; a refusal with reason None when it may.
    virtual PartRefusal CheckTypedPart(DWORD address, DWORD code) = 0;

protected:
    void OnSetText(int flag, const GridCellInfo& cell, const std::string& text) override;

private:
    std::string m_caption;
};

} // namespace plugcommon

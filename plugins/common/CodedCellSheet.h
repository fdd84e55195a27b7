#pragma once

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/GridTypes.h"
#include "plugins/common/CodedCells.h"

#include <string>
#include <utility>

namespace plugcommon {

// A table sheet (Base: the plug-in's sheet base) whose coded cells show the names of
// their values and take a typed entry only when it names one; the plug-in's sheet fills
// their drop-downs and stores a choice through FillCodedList and StoreCodedChoice where
// its own list hooks run.
template <class Base>
class CodedCellSheet : public Base {
public:
    template <class... Args>
    explicit CodedCellSheet(const CodedCells& cells, std::string caption, Args&&... args)
        : Base(std::forward<Args>(args)...), m_cells(cells), m_caption(std::move(caption))
    {
    }

    const CodedCells& Coded() const { return m_cells; }

protected:
    // Fills the drop-down of a coded cell; false for another cell.
    bool FillCodedList(DWORD code)
    {
        GridListBox* list = this->GetGrid() != nullptr ? this->GetGrid()->GetDropDownListBox() : nullptr;
        return m_cells.FillList(list, this->GetPageType(), code);
    }
    // Stores the chosen value of a coded cell; false for another cell or no choice.
    bool StoreCodedChoice(const GridCellInfo& cell) { return m_cells.StoreChosen(*this, this->GetPageType(), cell); }

    void OnGetFixText(const GridCellInfo& cell, std::string& text) override
    {
        Base::OnGetFixText(cell, text);
        m_cells.ShowName(this->GetPageType(), cell.code, text);
    }
    void OnSetText(int flag, const GridCellInfo& cell, const std::string& text) override
    {
        if (const std::optional<std::string> value = m_cells.Admit(this->GetPageType(), cell.code, text, m_caption))
            Base::OnSetText(flag, cell, *value);
    }

private:
    const CodedCells& m_cells;
    std::string m_caption;
};

} // namespace plugcommon

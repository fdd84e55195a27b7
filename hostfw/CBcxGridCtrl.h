#pragma once

#include "hostfw/HostTypes.h"

#include <QTableView>

#include <string>
#include <vector>

// The drop-down list of a grid cell: the sheet's list hook fills it, the grid shows
// it, and the selection hook reads the chosen entry.
class HOSTFW_API GridListBox {
public:
    int AddString(const std::string& text);   // LB_ADDSTRING: the new index
    void ResetContent() { m_items.clear(); m_cursel = -1; }
    int GetCount() const { return static_cast<int>(m_items.size()); }
    int GetCurSel() const { return m_cursel; }   // LB_GETCURSEL: -1 when none
    void SetCurSel(int index);
    std::string GetText(int index) const;
    const std::vector<std::string>& Items() const { return m_items; }

private:
    std::vector<std::string> m_items;
    int m_cursel = -1;
};

// The grid of a sheet.
class HOSTFW_API CBcxGridCtrl : public QTableView {
    Q_OBJECT
public:
    explicit CBcxGridCtrl(QWidget* parent = nullptr);

    GridListBox* GetDropDownListBox() { return &m_list; }
    void RedrawRange(int row0, int col0, int row1, int col1);
    void RedrawAll();
    void EnsureRowVisible(int row, int col);
    // Grid colours by index (0 text background, 7 fixed background); 0xFF000000 default.
    void SetColor(int index, std::uint32_t colour);
    std::uint32_t GetColor(int index) const;

protected:
    // Return belongs to the grid: on a cell not being edited it opens the cell's editor
    // (an editable cell) and never reaches the dialog's buttons.
    void keyPressEvent(QKeyEvent* event) override;

private:
    GridListBox m_list;
    std::uint32_t m_colours[8] = {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
                                  0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000};
};

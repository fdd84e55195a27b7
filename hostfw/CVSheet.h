#pragma once

#include "hostfw/GridTypes.h"
#include "hostfw/HostTypes.h"
#include "hostfw/VstTemplate.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class CBcxGridCtrl;
class SheetModel;

// A sheet: a grid laid out by a ".vst" template (from the plug-in data folder). The
// text, colour, display-info and list hooks are virtual so sheets of the plug-ins
// decide locking and lists; the grid model calls them.
class HOSTFW_API CVSheet : public QWidget {
    Q_OBJECT
public:
    explicit CVSheet(QWidget* parent = nullptr);
    ~CVSheet() override;

    bool LoadTemplate(const std::string& name);
    const VstTemplate& Template() const { return m_template; }
    const std::string& LastError() const { return m_error; }
    // Fits the columns to their contents; a sheet of fixed rows also takes exactly the
    // height of its rows.
    void AdjustWindowSize(int mode);
    CBcxGridCtrl* GetGrid() const { return m_grid; }

    int GetControlId() const { return m_controlId; }
    void SetControlId(int id) { m_controlId = id; }

    // Grid geometry. Plain sheets: one row per template cell, record row 0. List
    // sheets: one row per record row (and one empty row to add to the list).
    virtual int RowCount() const;
    int ColCount() const;
    int RowToRec(int row) const;
    GridCellInfo CellAt(int row, int col) const;
    // Grid position of a cell code in a record row; false when the template lacks it.
    bool CodeToCell(DWORD code, int rec, int& row, int& col) const;
    void CellToRange(const GridCellInfo& cell);   // redraws that cell
    // The current cell of the grid, and moving it.
    GridCellInfo CurrentCell() const;
    void MoveRepCell(int row, int col);
    // The next editable cell after (row, col), row by row; false at the end of the grid.
    bool GetNextEditCell(int& row, int& col);
    void RedrawGrid();

    // The cell's shown text and state after the hooks (what the grid displays).
    std::string DisplayText(int row, int col);
    bool IsCellReadOnly(int row, int col);
    std::uint32_t BackgroundColour(int row, int col);
    std::uint32_t TextColour(int row, int col);
    // The editor the template gives the cell (Label for the label column).
    VstTemplate::Editor EditorAt(int row, int col) const;

    // What the grid's editors call: a typed text, or a drop-down entry.
    virtual std::vector<std::string> ListEntriesAt(int row, int col);
    virtual bool CommitEdit(int row, int col, const std::string& text);
    virtual bool CommitList(int row, int col, int entry);
    // Whether the last CommitEdit refused the text as input (default: never).
    virtual bool InputRefused() const { return false; }

protected:
    virtual std::string CellText(int row, int col) const;
    virtual void OnGridGetDispInfo(GridDispInfo& info, int flag);
    virtual void OnGetFixText(const GridCellInfo& cell, std::string& text);
    virtual std::uint32_t OnGetTextBkColor(const GridCellInfo& cell);
    virtual std::uint32_t OnGetTextColor(const GridCellInfo& cell);

    SheetModel* Model() const { return m_model.get(); }
    void FitHeightToRows();

private:
    VstTemplate m_template;
    CBcxGridCtrl* m_grid;
    std::unique_ptr<SheetModel> m_model;
    int m_controlId = 0;
    std::string m_error;
};

#pragma once

#include "hostfw/CVSheet.h"
#include "hostfw/HostTypes.h"

#include <string>

class PartData;
class VCmdData;

// A sheet over a part's records. Init binds it to the part data and its sheet number
// (the record's type-data number). Edits go through SetPartField, which refuses a text
// over 254 CP932 bytes or with a character outside CP932 with a message, never cutting
// it or turning it into "?".
class HOSTFW_API CVPartVSheet : public CVSheet {
    Q_OBJECT
public:
    explicit CVPartVSheet(QWidget* parent = nullptr);
    ~CVPartVSheet() override;

    void Init(VCmdData* cmd, PartData* data, int sheetNo);
    int GetSheetNo() const { return m_sheetNo; }
    PartData* GetPartData() const { return m_data; }
    VCmdData* GetCmdData() const { return m_cmd; }
    void ReloadPartData();

    int RowCount() const override;
    BOOL GetPartField(int rec, DWORD code, std::string& text) const;
    BOOL SetPartField(int rec, DWORD code, const std::string& text);

    // Editing as the user does it (also what scripts drive): a typed text, or the
    // index of a drop-down entry. False when refused.
    bool EditCellText(int row, int col, const std::string& text);
    bool EditCellList(int row, int col, int entry);
    // Entries the cell's drop-down offers (runs the list hook).
    std::vector<std::string> CellListEntries(int row, int col);

    // True when the last typed text was refused as input (shown with the reason): the
    // grid keeps the editor open with the text so the person can mend it.
    bool InputRefused() const override { return m_inputRefused; }

    std::vector<std::string> ListEntriesAt(int row, int col) override;
    bool CommitEdit(int row, int col, const std::string& text) override;
    bool CommitList(int row, int col, int entry) override;

    // Changes made together (imports): no per-cell checks of the plug-ins.
    void BeginMassChange() { ++m_massChange; }
    void EndMassChange() { --m_massChange; }
    bool IsInMassChange() const { return m_massChange > 0; }

signals:
    // The host's field-change message to the dialog.
    void FieldChanged(CVPartVSheet* sheet, const FieldChange& change);

protected:
    std::string CellText(int row, int col) const override;
    virtual int OnGridInitList(const GridCellInfo& cell);
    virtual void OnGridSelListItem(GridDispInfo& info, const GridCellInfo& cell);
    virtual void OnSetText(int flag, const GridCellInfo& cell, const std::string& text);
    virtual void OnSetFixText(const GridCellInfo& cell, const std::string& text);
    // Refuses the typed text with the reason in a message box; the editor stays open.
    void RefuseInput(const std::string& reason);

private:
    VCmdData* m_cmd = nullptr;
    PartData* m_data = nullptr;
    int m_sheetNo = 0;
    int m_massChange = 0;
    bool m_inputRefused = false;
};

// The survey sheet (switch cells 自動/手入力 are offered by the template's switch editor).
class HOSTFW_API CSvyPartVSheet : public CVPartVSheet {
    Q_OBJECT
public:
    explicit CSvyPartVSheet(QWidget* parent = nullptr);
};

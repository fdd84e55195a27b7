#pragma once

#include "hostfw/HostTypes.h"

#include <filesystem>
#include <string>
#include <vector>

// Our sheet template (".vst", UTF-8 text). Lines:
//   # comment
//   kind plain            one grid row per "row" line (a record's fields)
//   kind list             one grid column per "col" line, one grid row per record row
//   row <label>\t<record>\t<field>\t<cell code, hex>\t<editor>
//   col <label>\t<record>\t<field>\t<cell code, hex>\t<editor>
// Editors: text, list (drop-down of texts), switch (自動/手入力: 0 or 1), number
// (a short), choice (a short chosen by name from a fixed drop-down the sheet's list
// hook fills; nothing can be typed), part (a part address), label (read-only text).
class HOSTFW_API VstTemplate {
public:
    enum class Editor { Text, List, Switch, Number, Choice, Part, Label };
    struct Cell {
        std::string label;
        std::string record;
        int field = 0;
        DWORD code = 0;
        Editor editor = Editor::Text;
    };

    bool Load(const std::filesystem::path& file, std::string& error);
    bool Parse(const std::string& text, std::string& error);

    bool IsList() const { return m_isList; }
    const std::vector<Cell>& Cells() const { return m_cells; }
    // Index of the cell with the code, -1 when none.
    int FindCode(DWORD code) const;

private:
    bool m_isList = false;
    std::vector<Cell> m_cells;
};

#pragma once

#include "hostfw/HostTypes.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CVPartVSheet;
class GridListBox;
struct GridCellInfo;

namespace plugcommon {

// A number field that takes one of a few known values, each shown by its name (the
// grade, the coordinate system, the network and survey kinds). The sheet offers the
// names in a fixed drop-down; a typed entry must be a name or the number of a value
// the list holds.
class CodedList {
public:
    struct Value {
        short value;
        std::string name;
    };

    explicit CodedList(std::vector<Value> values, std::string what);

    const std::vector<Value>& Values() const { return m_values; }
    std::vector<std::string> Names() const;
    // The name of a value; nullopt for a value the list does not hold.
    std::optional<std::string> NameOf(long long value) const;
    // A typed entry (blanks around it ignored): a name or the number of a held value.
    std::optional<short> ValueOf(const std::string& typed) const;
    // What the person is told when a typed entry is not a value of the list.
    std::string RefusalText() const;

private:
    std::vector<Value> m_values;
    std::string m_what;
};

// The plane-rectangular coordinate systems 1 … 19, named as the forms print them
// ("平面直角座標系 Ⅸ系").
const CodedList& CoordinateSystemList();
// Survey grades of the control-point table: 1 … 4, named as the form prints them.
const CodedList& ControlPointGradeList();
// Survey grades of the levelling table: 1 … 5 (5 is the simple levelling).
const CodedList& LevellingGradeList();
// Network kinds of the control-point table: 0 strict network, 1 arbitrary network,
// 2 single route.
const CodedList& NetworkKindList();
// Survey kinds of the GNSS table: 0 control points, 1 levelling, 2 and 3 elevation
// surveys of the 3rd and 4th class, named as the evaluation's messages name them.
const CodedList& GnssSurveyKindList();

// Which cells of a plug-in's sheets are coded: by page type and cell code.
class CodedCells {
public:
    CodedCells(std::map<std::pair<short, DWORD>, const CodedList*> cells);

    const CodedList* ListOf(short pageType, DWORD code) const;

    // Fills the drop-down of a coded cell with its names; false for another cell.
    bool FillList(GridListBox* list, short pageType, DWORD code) const;
    // The stored number of a coded cell shown as its name (a value outside the list
    // stays the number it is, so the person sees what is stored).
    void ShowName(short pageType, DWORD code, std::string& text) const;
    // A typed entry of a coded cell as the number to store; nullopt, after telling the
    // person why, when the entry is not a value of the list. Other cells: the text.
    std::optional<std::string> Admit(short pageType, DWORD code, const std::string& typed,
                                     const std::string& caption) const;
    // Stores the value of the chosen drop-down entry of a coded cell; false for
    // another cell or no choice.
    bool StoreChosen(CVPartVSheet& sheet, short pageType, const GridCellInfo& cell) const;

private:
    std::map<std::pair<short, DWORD>, const CodedList*> m_cells;
};

} // namespace plugcommon

#pragma once

#include "hostfw/HostTypes.h"

#include <cstdint>
#include <map>
#include <vector>

// The host document a part program is created with. It holds the document boards the
// user picked (parts, figure elements), which dialogs import.
class HOSTFW_API CVPartDocument {
public:
    static constexpr int kBoardPart = 96;
    static constexpr int kBoardFigure = 0x30001;

    int GetBoardCnt(int code) const;
    // The board's value (a part address, a figure element address...); 0 outside.
    DWORD GetBoard(int code, int index) const;
    void SetBoards(int code, std::vector<DWORD> values);
    void ClearBoards() { m_boards.clear(); }

private:
    std::map<int, std::vector<DWORD>> m_boards;
};

// Alias the dialogs use for the same object.
using CVDocument = CVPartDocument;

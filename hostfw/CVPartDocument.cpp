#include "hostfw/CVPartDocument.h"

int CVPartDocument::GetBoardCnt(int code) const
{
    auto it = m_boards.find(code);
    return it == m_boards.end() ? 0 : static_cast<int>(it->second.size());
}

DWORD CVPartDocument::GetBoard(int code, int index) const
{
    auto it = m_boards.find(code);
    if (it == m_boards.end() || index < 0 || static_cast<std::size_t>(index) >= it->second.size())
        return 0;
    return it->second[static_cast<std::size_t>(index)];
}

void CVPartDocument::SetBoards(int code, std::vector<DWORD> values)
{
    m_boards[code] = std::move(values);
}

#include "hostfw/CmdMsgBox.h"

#include "hostfw/HostMessages.h"

int CmdMsgBox::XCmdNameMessage(DWORD partKey, const std::string& title, int)
{
    m_title = title;
    m_log.push_back({Kind::Name, partKey, title});
    return 1;
}

int CmdMsgBox::XCmdStdMessage(DWORD partKey, const std::string& text, int)
{
    m_log.push_back({Kind::Std, partKey, text});
    HostMessageBox(text, m_title, kMbOk | kMbIconInformation);
    return 1;
}

int CmdMsgBox::XCmdErrMessageBox(DWORD partKey, const std::string& text, int)
{
    m_log.push_back({Kind::Err, partKey, text});
    HostMessageBox(text, m_title, kMbOk | kMbIconHand);
    return 1;
}

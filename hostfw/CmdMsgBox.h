#pragma once

#include "hostfw/HostTypes.h"

#include <string>
#include <vector>

// The host's command-message box: calculation messages filed under a part key. Each
// message is shown through the host message box (HostMessageBox) and kept in a log.
class HOSTFW_API CmdMsgBox {
public:
    enum class Kind { Name, Std, Err };
    struct Entry {
        Kind kind;
        DWORD partKey;
        std::string text;
    };

    // The title line for the following messages of a part.
    int XCmdNameMessage(DWORD partKey, const std::string& title, int flag);
    // A normal message ("処理が正常に行われました。").
    int XCmdStdMessage(DWORD partKey, const std::string& text, int flag);
    // An error message, shown with the hand icon.
    int XCmdErrMessageBox(DWORD partKey, const std::string& text, int flag);

    const std::vector<Entry>& Log() const { return m_log; }
    void ClearLog() { m_log.clear(); }

private:
    std::string m_title;
    std::vector<Entry> m_log;
};

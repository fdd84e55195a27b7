#pragma once

#include "hostfw/HostTypes.h"

#include <string>

class CVPartDlg;

// The answers and dialog steps of a host stand-in run, read from JSON:
//   { "messages": [ 6, 7 ],                 answers of message boxes in order (default: first button)
//     "chooser":  [ "GPSHYO.CSV", null ],    binder file names the file chooser picks; null cancels
//     "forms":    [ 1, 0 ],                  answers of the form chooser (0 cancels)
//     "dialog": { "steps": [
//         { "tab": 2 },
//         { "sheet": 9006, "code": "0x0FFF0D0C", "row": 0, "text": "..." },
//         { "sheet": 9006, "code": "0x01C4046E", "list": 1 },
//         { "button": 12000 },
//         { "button": 1 } ] } }              1 OK, 2 Cancel
class HOSTFW_API HostScript {
public:
    bool Parse(const std::string& json, std::string& error);

    // Installs the message, chooser and form hooks that answer from this script and
    // report every message through report (one line each).
    void InstallHooks(void (*report)(const std::string& line));
    static void RemoveHooks();
    // For a person at the screen: every message box, question and help text is shown
    // (reported through report with the answer), the file chooser is the Qt one
    // ("CHOOSE asking the person", then the name). The form chooser keeps its default.
    static void InstallInteractiveHooks(void (*report)(const std::string& line));

    // Runs the dialog steps; false with error at the first step that failed.
    bool RunDialog(CVPartDlg& dialog, std::string& error) const;
    bool HasDialogSteps() const { return !m_dialogSteps.empty(); }

private:
    std::string m_json;
    std::string m_dialogSteps;   // JSON text of the steps array
};

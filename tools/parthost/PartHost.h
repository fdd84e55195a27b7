#pragma once

#include "hostfw/CVSvyPartPrg.h"
#include "hostfw/HostTypes.h"

#include <filesystem>
#include <string>

class CVPartDlg;
class HostScript;
class PartData;
struct PartHostOptions;

// The host stand-in's run: seed, load the plug-in, the calls asked for, unload.
// Every message shown is printed on a line of its own.
class PartHost {
public:
    // 0 when every call succeeded, 1 when one failed, 2 when the run could not start.
    int Run(const PartHostOptions& options);

private:
    bool Seed(const PartHostOptions& options, HostScript& script);
    bool LoadPlugin(const std::string& path);
    void UnloadPlugin();
    bool LoadEditPart(PartData& out) const;
    bool RunDoCalc(DWORD flags);
    CVPartDlg* OpenEditor();
    bool RunEdit(const HostScript& script, const std::filesystem::path& out);
    bool RunInteractive();
    // "INTERACTIVE cell <control> <code> at x y" for every cell on screen, for a person's
    // helper (xdotool).
    void PrintCellPlaces(CVPartDlg& dialog);
    // "STORED <program> <part> <digest>": the edit part as the part system holds it now,
    // so two runs can be compared.
    void PrintStoredPart() const;
    bool RunCsv(const std::filesystem::path& out);
    void PrintHelp();

    void* m_library = nullptr;
    CreatePartPrgFn m_create = nullptr;
    WindowEditFn m_windowEdit = nullptr;
    PeldaHelpContextFn m_helpContext = nullptr;
    PeldaHelpNumFn m_helpNum = nullptr;
    WORD m_program = 0;
    DWORD m_part = 0;
    bool m_formOverflow = false;   // a form text did not fit: the run fails
};

#pragma once

#include "hostfw/HostTypes.h"
#include "hostfw/TPeldaHelpManager.h"

// The host's data of one edit command: which part to open and the help topics.
class HOSTFW_API VCmdData {
public:
    VCmdData() = default;
    VCmdData(WORD programNo, DWORD partAddress) : m_programNo(programNo), m_partAddress(partAddress) {}

    WORD GetPrgNo() const { return m_programNo; }
    // The part to open; 0 asks for a new part.
    DWORD GetPartAddress() const { return m_partAddress; }
    void SetPartAddress(DWORD address) { m_partAddress = address; }

    TPeldaHelpManager& GetHelpManager() { return m_help; }

private:
    WORD m_programNo = 0;
    DWORD m_partAddress = 0;
    TPeldaHelpManager m_help;
};

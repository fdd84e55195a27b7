#pragma once

#include "hostfw/HostTypes.h"

#include <string>
#include <vector>

class PartData;
class PartSystem;

// The parts of one program in a part system. Record numbers are part addresses; the
// walk (GetTopRecNo, GetNextRecNo...) answers -1 past the end. The walk works on the
// addresses read when the object was made, so it stays cheap over many parts.
class HOSTFW_API CPartDB {
public:
    CPartDB(PartSystem* handle, WORD programNo);
    virtual ~CPartDB();

    PartSystem* GetHandle() const { return m_handle; }
    WORD GetPrgNo() const { return m_programNo; }
    bool IsOpen() const { return m_handle != nullptr; }

    // Loads the part at address into out; non-zero on success (the part exists and
    // belongs to this program).
    int Get(DWORD address, PartData* out, int flag) const;
    // Stores the part (records included); non-zero on success. A new part (address 0)
    // gets the next free address, written back into part.
    int Put(PartData& part);

    // The walk visits every part of the program; IsActive tells the ones the user
    // switched off (kept, but left out wherever active parts are asked for), and
    // GetActiveRecNum counts the others.
    int IsActive(long recNo) const;
    long GetActiveRecNum() const;
    long GetTopRecNo() const;
    long GetNextRecNo(long recNo) const;
    long GetLastRecNo() const;
    long GetBeforeRecNo(long recNo) const;
    void Refresh();   // re-reads the addresses after parts were added or removed

    const std::string& LastError() const { return m_error; }

private:
    long IndexOf(long recNo) const;

    PartSystem* m_handle;
    WORD m_programNo;
    std::vector<DWORD> m_addresses;
    std::vector<char> m_active;
    std::string m_error;
};

// The program's name in the part system; non-zero when it has one.
HOSTFW_API int PartDB_GetPrgName(PartSystem* handle, WORD programNo, std::string& text);

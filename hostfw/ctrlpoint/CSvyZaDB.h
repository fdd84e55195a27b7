#pragma once

#include "hostfw/HostTypes.h"

#include <string>

class PartSystem;

// The host's figure database: the figure parts written for calculation parts, kept as
// stored answers ("FIGUREPART") of the part they belong to.
class HOSTFW_API CSvyZaDB {
public:
    explicit CSvyZaDB(PartSystem* handle);

    bool IsOpen() const { return m_handle != nullptr; }
    // Records (replaces) the figure part of a calculation part; non-zero on success.
    int PutFigurePart(DWORD partKey, WORD flag, const std::string& name);
    // Number of figure parts recorded for the part (0 or 1).
    int GetFigurePartCount(DWORD partKey) const;
    // Non-zero when the figure element address is known to the figure database.
    int IsElement(DWORD elementAddress) const;

private:
    PartSystem* m_handle;
};

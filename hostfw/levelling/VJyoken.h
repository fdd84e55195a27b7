#pragma once

#include "hostfw/HostTypes.h"

class PartSystem;
struct JSUIJKN;

// The host application's condition object as the levelling table reads it.
class HOSTFW_API VJyoken {
public:
    explicit VJyoken(const PartSystem* handle = nullptr);   // null: the current part system

    // Fills the levelling observation conditions from the part system's condition
    // "JSUIJKN" (key 1, JSON {"precision": n}); without one the record keeps code 0.
    // Non-zero when the conditions were found.
    int GetSuiJynVur(JSUIJKN& out, int option) const;

private:
    const PartSystem* m_handle;
};

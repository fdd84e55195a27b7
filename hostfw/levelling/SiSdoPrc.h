#pragma once

#include "hostfw/HostTypes.h"

class PartSystem;

// What SiSdoPrc hands out for one part; 1e-16 means the calculation stored no value.
struct HOSTFW_API DbSiSdo {
    double standardDeviation = 0.0;   // mm, network adjustments (mode 1)
    double closure = 0.0;             // mm, check routes (mode 0)
};

// The stored accuracy results of levelling calculations: mode 1 reads a network
// adjustment's standard deviation, mode 0 a check route's closure.
class HOSTFW_API SiSdoPrc {
public:
    static constexpr int kModeRoute = 0;
    static constexpr int kModeNetwork = 1;

    SiSdoPrc(PartSystem* handle, int mode);

    // Non-zero when the part has a stored result of this mode; out is cleared first.
    int Get(DWORD part, DbSiSdo& out) const;
    int Mode() const { return m_mode; }

private:
    PartSystem* m_handle;
    int m_mode;
};

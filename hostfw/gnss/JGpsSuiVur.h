#pragma once

#include "hostfw/gnss/JGpsVur.h"

// GNSS levelling conditions: in use or not, and the limits a, b (first/second half,
// mm), c (known-point closure, mm√S), d (slope-distance residual, mm), e (assumed
// network closure, mm√S) and f (assumed network baseline residual, mm).
class HOSTFW_API JGpsSuiVur : public JGpsVur {
public:
    explicit JGpsSuiVur(int workKind) : JGpsVur("JGpsSuiVur", workKind) {}
    int use = 0;
    int a = 0;
    int b = 0;
    int c = 0;
    int d = 0;
    int e = 0;
    int f = 0;

    bool IsUse() const { return use != 0; }

protected:
    void Reset() override;
    void Parse(const QJsonObject& object) override;
};

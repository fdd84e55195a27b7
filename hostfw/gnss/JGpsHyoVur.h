#pragma once

#include "hostfw/gnss/JGpsVur.h"

// Elevation-survey conditions of the 3rd and 4th class: whether each is in use and its
// limits a, b (first/second half, mm), c (known-point closure, mm√ΣS) and d
// (slope-distance residual, mm).
class HOSTFW_API JGpsHyoVur : public JGpsVur {
public:
    struct Limits {
        int a = 0;
        int b = 0;
        int c = 0;
        int d = 0;
    };

    explicit JGpsHyoVur(int workKind) : JGpsVur("JGpsHyoVur", workKind) {}
    int use3 = 0;
    int use4 = 0;
    Limits class3;
    Limits class4;

    bool IsUse() const { return use3 != 0 || use4 != 0; }
    bool IsUse3() const { return use3 != 0; }
    bool IsUse4() const { return use4 != 0; }

protected:
    void Reset() override;
    void Parse(const QJsonObject& object) override;
};

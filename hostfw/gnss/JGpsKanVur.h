#pragma once

#include "hostfw/gnss/JGpsVur.h"

// Ring-closure coefficients (mm√N), kept at two places: the second place applies
// when the record's kind byte is 4.
class HOSTFW_API JGpsKanVur : public JGpsVur {
public:
    explicit JGpsKanVur(int workKind) : JGpsVur("JGpsKanVur", workKind) {}
    unsigned char kind = 0;
    int horizontal[2] = {0, 0};
    int height[2] = {0, 0};

    int Horizontal() const { return horizontal[kind == 4 ? 1 : 0]; }
    int Height() const { return height[kind == 4 ? 1 : 0]; }

protected:
    void Reset() override;
    void Parse(const QJsonObject& object) override;
};

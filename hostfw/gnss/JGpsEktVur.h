#pragma once

#include "hostfw/gnss/JGpsVur.h"

// Closure limits of connecting traverses and single routes: horizontal a mm + b mm√N,
// height c mm + d mm√N.
class HOSTFW_API JGpsEktVur : public JGpsVur {
public:
    explicit JGpsEktVur(int workKind) : JGpsVur("JGpsEktVur", workKind) {}
    int a = 0;
    int b = 0;
    int c = 0;
    int d = 0;

protected:
    void Reset() override;
    void Parse(const QJsonObject& object) override;
};

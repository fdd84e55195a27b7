#pragma once

#include "hostfw/gnss/JGpsVur.h"

// Duplicate-baseline difference limits (mm).
class HOSTFW_API JGpsDupVur : public JGpsVur {
public:
    explicit JGpsDupVur(int workKind) : JGpsVur("JGpsDupVur", workKind) {}
    int horizontal = 0;
    int height = 0;

protected:
    void Reset() override;
    void Parse(const QJsonObject& object) override;
};

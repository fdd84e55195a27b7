#pragma once

#include "hostfw/gnss/JGpsVur.h"

// Absolute-accuracy conditions: new-point standard deviation limits (cm), the
// known-point option, and the first/second-half difference limits (mm) of a
// control-point survey.
class HOSTFW_API JGpsSidVur : public JGpsVur {
public:
    explicit JGpsSidVur(int workKind) : JGpsVur("JGpsSidVur", workKind) {}
    int horizontalCm = 0;
    int heightCm = 0;
    int knownPointOption = 0;
    int halfHorizontalMm = 0;
    int halfHeightMm = 0;

protected:
    void Reset() override;
    void Parse(const QJsonObject& object) override;
};

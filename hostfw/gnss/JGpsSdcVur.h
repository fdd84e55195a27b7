#pragma once

#include "hostfw/gnss/JGpsVur.h"

// General GNSS survey conditions of a work: its grade.
class HOSTFW_API JGpsSdcVur : public JGpsVur {
public:
    explicit JGpsSdcVur(int workKind) : JGpsVur("JGpsSdcVur", workKind) {}
    int grade = 0;

protected:
    void Reset() override;
    void Parse(const QJsonObject& object) override;
};

#pragma once

#include "hostfw/HostTypes.h"

#include <vector>

class CSiblingDB;

// Accuracy of one point of a strict-network adjustment (metres).
struct HOSTFW_API TENKEN_REC {
    long pointNo = 0;
    double horizontalSd = 0.0;
    double heightSd = 0.0;
};

// The stored point accuracies of strict-network adjustments.
class HOSTFW_API TenkenLib {
public:
    // The accuracy of pointNo in the part; non-zero when the part stored one.
    static int Get(const CSiblingDB& db, DWORD part, long pointNo, TENKEN_REC& out);
    // Every point accuracy the part stored; non-zero when it stored any.
    static int GetAll(const CSiblingDB& db, DWORD part, std::vector<TENKEN_REC>& out);
};

#pragma once

#include "hostfw/TabParamData.h"

class RecordSet;

// Records of the control-point quality table (program 519).
//   F1: 総製品名 T, 総ライセンス T, 総作成時期 T, 総作成者 T, 総座標系 S, 総領域 T, 総検査者 T,
//       データ品質適用範囲 T, 等級区分 S, 総合否 T
//   F2: 対象種別 S (network kind), 点検測量出力有無 S
//   F01 7 T, F02 13 T, F04 10 T, F05 10 T
//   F03: S T S T T S T S T T S T T T T (switches A-E at fields 0, 2, 5, 7, 10)
//   FR1: two part addresses (628, 631); FR2, FR3: one address; R3 rows: one address;
//   R4 rows: two addresses (687 horizontal, 684 height)
// Type-data numbers: 0 F1, 1 F2, 2-6 F01-F05, 7 FR1, 8 FR2, 9 FR3, 10 R3, 11 R4.
class HOSTFW_API Tab00519Data : public TabParamData {
public:
    static constexpr WORD kProgramNo = 519;
    static const RecordSet& Records();

    Tab00519Data();
    explicit Tab00519Data(const PartData& data);
    ~Tab00519Data() override;
    Tab00519Data(const Tab00519Data&) = default;
    Tab00519Data& operator=(const Tab00519Data&) = default;

    HOSTFW_PLAIN_RECORD(F1)
    HOSTFW_PLAIN_RECORD(F2)
    HOSTFW_PLAIN_RECORD(F01)
    HOSTFW_PLAIN_RECORD(F02)
    HOSTFW_PLAIN_RECORD(F03)
    HOSTFW_PLAIN_RECORD(F04)
    HOSTFW_PLAIN_RECORD(F05)
    HOSTFW_PLAIN_RECORD(FR1)
    HOSTFW_PLAIN_RECORD(FR2)
    HOSTFW_PLAIN_RECORD(FR3)
    HOSTFW_LIST_RECORD(R3)
    HOSTFW_LIST_RECORD(R4)
};

using SVY00519_F1 = PartRecord;
using SVY00519_F03 = PartRecord;

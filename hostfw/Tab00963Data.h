#pragma once

#include "hostfw/TabParamData.h"

class RecordSet;

// Records of the levelling quality table (program 963).
//   F1: 総製品名 T, 総ライセンス T, 総作成時期 T, 総作成者 T, 総座標系 S, 総領域 T, 総検査者 T,
//       データ品質適用範囲 T, 等級区分 S, 総合否 T
//   F2: 対象種別 S
//   F01 7 T, F02 13 T, F04 10 T, F05 10 T
//   F03: S T T T T S T T S T T T T (switches at fields 0, 5, 8)
//   FR1: network adjustment part address; R2 rows: observation notes; R3 rows: check routes
// Type-data numbers: 0 F1, 1 F2, 2-6 F01-F05, 7 FR1, 8 R2, 9 R3.
class HOSTFW_API Tab00963Data : public TabParamData {
public:
    static constexpr WORD kProgramNo = 963;
    static const RecordSet& Records();

    Tab00963Data();
    explicit Tab00963Data(const PartData& data);
    ~Tab00963Data() override;
    Tab00963Data(const Tab00963Data&) = default;
    Tab00963Data& operator=(const Tab00963Data&) = default;

    HOSTFW_PLAIN_RECORD(F1)
    HOSTFW_PLAIN_RECORD(F2)
    HOSTFW_PLAIN_RECORD(F01)
    HOSTFW_PLAIN_RECORD(F02)
    HOSTFW_PLAIN_RECORD(F03)
    HOSTFW_PLAIN_RECORD(F04)
    HOSTFW_PLAIN_RECORD(F05)
    HOSTFW_PLAIN_RECORD(FR1)
    HOSTFW_LIST_RECORD(R2)
    HOSTFW_LIST_RECORD(R3)
};

using SVY00963_F1 = PartRecord;
using SVY00963_F03 = PartRecord;

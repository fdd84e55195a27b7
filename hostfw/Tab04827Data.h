#pragma once

#include "hostfw/TabParamData.h"

class RecordSet;

// Records of the GNSS quality table (program 4827). Four sets side by side: plain
// (control-point survey), S (levelling), H3 and H4 (elevation survey 3rd/4th class).
//   F1 header: 総製品名 T, 総ライセンス T, 総作成時期 T, 総作成者 T, 総座標系 S, 総領域 T,
//      総検査者 T, データ品質適用範囲 T, 総合否 T
//   F01 7 T, F02 13 T, F04 10 T, F05 10 T
//   F03: S T S T T S T S T T S T T T T (switches 1-5 at fields 0, 2, 5, 7, 10)
//   F2: work number (long); F3: survey kind (short); F7: reload flags (short)
// Type-data numbers (sheet numbers): 0 F1, 1 F2, 2-6 F01-F05, 7 F3, 8 F1S, 9-13
// F01S-F05S, 14 F7, 15 F1H3, 16-20 F01H3-F05H3, 21 F1H4, 22-26 F01H4-F05H4.
class HOSTFW_API Tab04827Data : public TabParamData {
public:
    static constexpr WORD kProgramNo = 4827;
    static const RecordSet& Records();

    Tab04827Data();
    explicit Tab04827Data(const PartData& data);
    ~Tab04827Data() override;
    Tab04827Data(const Tab04827Data&) = default;
    Tab04827Data& operator=(const Tab04827Data&) = default;

    HOSTFW_PLAIN_RECORD(F1)
    HOSTFW_PLAIN_RECORD(F01)
    HOSTFW_PLAIN_RECORD(F02)
    HOSTFW_PLAIN_RECORD(F03)
    HOSTFW_PLAIN_RECORD(F04)
    HOSTFW_PLAIN_RECORD(F05)
    HOSTFW_PLAIN_RECORD(F1S)
    HOSTFW_PLAIN_RECORD(F01S)
    HOSTFW_PLAIN_RECORD(F02S)
    HOSTFW_PLAIN_RECORD(F03S)
    HOSTFW_PLAIN_RECORD(F04S)
    HOSTFW_PLAIN_RECORD(F05S)
    HOSTFW_PLAIN_RECORD(F1H3)
    HOSTFW_PLAIN_RECORD(F01H3)
    HOSTFW_PLAIN_RECORD(F02H3)
    HOSTFW_PLAIN_RECORD(F03H3)
    HOSTFW_PLAIN_RECORD(F04H3)
    HOSTFW_PLAIN_RECORD(F05H3)
    HOSTFW_PLAIN_RECORD(F1H4)
    HOSTFW_PLAIN_RECORD(F01H4)
    HOSTFW_PLAIN_RECORD(F02H4)
    HOSTFW_PLAIN_RECORD(F03H4)
    HOSTFW_PLAIN_RECORD(F04H4)
    HOSTFW_PLAIN_RECORD(F05H4)
    HOSTFW_PLAIN_RECORD(F2)
    HOSTFW_PLAIN_RECORD(F3)
    HOSTFW_PLAIN_RECORD(F7)
};

// Record types by their host names; every one is a PartRecord of the layout above.
using SVY04827_F1 = PartRecord;
using SVY04827_F03 = PartRecord;

#pragma once

#include "hostfw/HostTypes.h"

#include <string>
#include <vector>

class PartSystem;

// The GNSS observation record database of a work (condition table "GnssRecords" keyed
// by the work number): {"baselines": [{"class", "half", "types": [2], "from", "to",
// "vector": [3], "position": [3]}]}. Records are walked by key the host's way:
// d_open, d_keyfrst / d_keynext over a key, d_recread of the current record, d_close.
class HOSTFW_API GnssRecordDb {
public:
    static constexpr int kBaselineKey = 1000;

    struct BaselineRecord {
        int recordClass = 0;
        int halfFlag = 0;
        int type1 = 0;
        int type2 = 0;
        std::string from;
        std::string to;
        double vector[3] = {0.0, 0.0, 0.0};     // XYZ, metres
        double position[3] = {0.0, 0.0, 0.0};   // ECEF of the baseline, metres
    };

    // Opens the work's records; 0 on success, -1 when they cannot be read.
    int d_open(long workNo, const PartSystem* handle = nullptr);
    // First / next record of a key; 0 when there is one, -1 at the end.
    int d_keyfrst(int key);
    int d_keynext(int key);
    // Copies the current record; 0 on success.
    int d_recread(BaselineRecord& out) const;
    void d_close();

    std::size_t RecordCount() const { return m_records.size(); }

private:
    std::vector<BaselineRecord> m_records;
    std::size_t m_current = 0;
    bool m_open = false;
};

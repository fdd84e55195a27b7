#pragma once

#include "plugins/gnss/GnssTableKeys.h"

#include <array>
#include <string>

namespace mod04827 {

// One survey variant's six table records (F1, F01-F05) as 64 fields in key-table order.
// Text fields keep UTF-8; short fields keep their value.
struct GnssTableSet {
    std::array<std::string, kGnssFieldCount> texts;
    std::array<short, kGnssFieldCount> shorts{};

    void Clear();
    const std::string& Text(GnssRecord record, int textItem) const;
    void SetText(GnssRecord record, int textItem, std::string text);
    short Switch(int switchNumber) const;          // F03 switches 1..5
    void SetSwitch(int switchNumber, short value);
    short Zone() const;                             // F1 総座標系
    void SetZone(short zone);
};

}  // namespace mod04827

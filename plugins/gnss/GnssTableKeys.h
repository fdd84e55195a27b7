#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace mod04827 {

// The six records of one table set, in stored order.
enum class GnssRecord { F1, F01, F02, F03, F04, F05 };

// One field of a table set: its INI key, whether it is a short, the drop-down
// list that feeds it and the list entry that is its built-in default.
struct GnssTableKey {
    GnssRecord record;
    std::string_view iniKey;
    bool isShort;
    std::string_view listKey;   // empty: no list
    int defaultEntry;           // list entry, or the short's default value
};

inline constexpr std::size_t kGnssFieldCount = 64;

// Every field of a set in record order; the INI files, the defaults, the sheet
// lists and the templates all read this one table.
const std::array<GnssTableKey, kGnssFieldCount>& GnssTableKeys();

// First field of a record in GnssTableKeys() and its number of fields.
std::size_t FirstFieldOf(GnssRecord record);
std::size_t FieldCountOf(GnssRecord record);

// Field index of text item k of a record (shorts not counted); -1 when out of range.
int TextFieldIndex(GnssRecord record, int textItem);
// Number of text items of a record.
int TextCountOf(GnssRecord record);

// Field index of the F03 switch n (1..5).
int SwitchFieldIndex(int switchNumber);
// Field index of the F1 coordinate zone short.
int ZoneFieldIndex();

}  // namespace mod04827

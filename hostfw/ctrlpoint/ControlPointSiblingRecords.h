#pragma once

#include "hostfw/HostTypes.h"

// Record layouts of the sibling calculations the control-point table reads, registered
// with the record sets so a seed can create their parts. Field numbers below.
class HOSTFW_API ControlPointSiblingRecords {
public:
    // Registers the sets of 452, 622, 625, 628, 631, 681, 684 and 687 (once).
    static void RegisterAll();
};

namespace ctrlsib {

// 628, 631, 622, 684, 687: record "F"; 625: record "F1". Field 0 is the grade.
inline constexpr const char* kRecF = "F";
inline constexpr const char* kRecF1 = "F1";
inline constexpr int kFieldGrade = 0;
inline constexpr int kFieldRouteKey = 1;         // 684, 687: key of the route
// 628, 631: "R2" rows of point numbers; 622: "R2" rows of part addresses.
inline constexpr const char* kRecR2 = "R2";
// 681: header "KS" (point number, instrument height) and the six observation sets.
inline constexpr const char* kRecKs = "KS";
inline constexpr const char* kHandbookSets[6] = {"1R", "1L", "2L", "2R", "3R", "3L"};
enum HandbookRowField { kRowPoint = 0, kRowHorizontal, kRowVertical, kRowDistance, kRowTargetHeight };
// 452: header "KS" (station point number) and "KEISOKU" rows.
inline constexpr const char* kRecKeisoku = "KEISOKU";
enum KeisokuField { kKeiPoint = 0, kKeiDistance, kKeiHorizontal, kKeiVertical, kKeiVerticalIsAltitude };

// Stored answers.
inline constexpr const char* kAnsTenken = "TENKEN";       // point, horizontal SD, height SD (m)
inline constexpr const char* kAnsSeidoNet = "SEIDO_NET";  // residuals (s, cm, cm), limits (s, cm, cm)
inline constexpr const char* kAnsSeidoRoute = "SEIDO_ROUTE";  // route kind, closures, difference (m)
inline constexpr const char* kAnsShubo = "SHUBO";         // point, distance, direction, vertical

} // namespace ctrlsib

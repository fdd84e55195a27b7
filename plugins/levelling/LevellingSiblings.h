#pragma once

#include <cstdint>
#include <optional>

class JSUIKOUSA;

namespace mod00963 {

using PartAddress = std::uint32_t;

inline constexpr int kProgLevellingNetwork917 = 917;
inline constexpr int kProgObservationNote921 = 921;
inline constexpr int kProgCheckRoute935 = 935;
inline constexpr int kProgNetworkAdjustment938 = 938;

// The header of a check route (935).
struct CheckRoute {
    PartAddress networkPart = 0;
    std::uint32_t startPoint = 0;
    std::uint32_t endPoint = 0;
};

// What the levelling evaluation and the dialog's part lists read of the sibling
// calculations. The plug-in serves it from the host's databases; tests from memory.
// Every reader answers nullopt (or 0) for a part or record it cannot read.
class LevellingSiblings {
public:
    virtual ~LevellingSiblings() = default;

    // Both sibling databases (938, 935) opened.
    virtual bool IsOpen() = 0;
    virtual int ProgramOf(PartAddress part) = 0;                       // 0 when unknown
    virtual std::optional<short> NetworkAdjustmentGrade(PartAddress part) = 0;   // 938
    virtual std::optional<CheckRoute> ReadCheckRoute(PartAddress part) = 0;      // 935
    virtual std::optional<short> LevellingNetworkGrade(PartAddress part) = 0;    // 917
    // SiSdoPrc mode 1 (standard deviation) and mode 0 (closure), mm; the stored value
    // may be the 1e-16 sentinel.
    virtual std::optional<double> StandardDeviation(PartAddress part) = 0;
    virtual std::optional<double> Closure(PartAddress part) = 0;
    // SuiSyuboCalc: non-zero when the note was computed (the maximum may have grown).
    virtual int CalcObservationNote(PartAddress part, short grade, double& maximum) = 0;
    virtual int PrecisionCode() = 0;
    virtual JSUIKOUSA Tolerances() = 0;
};

} // namespace mod00963

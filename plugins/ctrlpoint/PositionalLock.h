#pragma once

#include <array>
#include <cstdint>

namespace mod00519 {

// Sheet page types of the control-point dialog.
inline constexpr short kPageHeader = 0;
inline constexpr short kPageNetwork = 1;
inline constexpr short kPagePositional = 4;

// Cell codes the dialog and sheets react to.
inline constexpr std::uint32_t kCellTextBase = 0x0FFF0D0Cu;      // | item << 28
inline constexpr std::uint32_t kCellSwitchBase = 0x01C4046Eu;    // | item << 28
inline constexpr std::uint32_t kCellGrade = 0x01C40362u;
inline constexpr std::uint32_t kCellNetworkKind = 0x01C4046Du;
inline constexpr std::uint32_t kCellAbsoluteResultSwitch = 0x21C4046Eu;

// Lock test of the positional page: the texts the evaluation writes (summary,
// absolute requirement and result, relative requirement and result) are locked while
// their switch is automatic (0).
class PositionalLock {
public:
    // switches: A to E of the positional record.
    static bool IsGeneratedCellLocked(short pageType, std::uint32_t cellCode, const std::array<short, 5>& switches);
    // The switch cell codes A to E: 0x01C4046E … 0x41C4046E (by switch, not by the item).
    static std::uint32_t SwitchCellCode(int index);
};

} // namespace mod00519

#pragma once

#include <array>
#include <cstdint>

namespace mod00963 {

// Sheet page types of the levelling dialog.
inline constexpr short kPageHeader = 0;
inline constexpr short kPagePositional = 4;

// Cell codes the dialog and sheets react to.
inline constexpr std::uint32_t kCellGrade = 0x01C40467u;
// The positional switches, by role as in the control-point table's templates.
inline constexpr std::uint32_t kCellOverallSwitch = 0x01C4046Eu;
inline constexpr std::uint32_t kCellRelRequirementSwitch = 0x31C4046Eu;
inline constexpr std::uint32_t kCellRelResultSwitch = 0x41C4046Eu;
// The manual texts they govern.
inline constexpr std::uint32_t kCellOverallManual = 0x0FFF0D0Cu;
inline constexpr std::uint32_t kCellRelRequirementManual = 0x4FFF0D0Cu;
inline constexpr std::uint32_t kCellRelResultManual = 0x6FFF0D0Cu;

// Lock test of the positional page: each manual text cell is locked (grey, empty)
// while its switch is automatic (0).
class LevellingLock {
public:
    // switches: overall requirement, relative requirement, relative result.
    static bool IsCellLocked(short pageType, std::uint32_t cellCode, const std::array<short, 3>& switches);
    static bool IsSwitchCell(std::uint32_t cellCode);
};

} // namespace mod00963

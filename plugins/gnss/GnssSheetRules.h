#pragma once

#include "plugins/gnss/GnssTableKeys.h"
#include "plugins/gnss/SurveyVariant.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace mod04827 {

// Page types of the GNSS sheets.
inline constexpr short kPageHeader = 0;
inline constexpr short kPageCompleteness = 2;
inline constexpr short kPageLogical = 3;
inline constexpr short kPagePositional = 4;
inline constexpr short kPageTemporal = 5;
inline constexpr short kPageThematic = 6;
inline constexpr short kPageSurveyKind = 7;

// Cell code of text item k of a page, and of the switch governing text item k.
constexpr std::uint32_t TextCellCode(int k)
{
    return (static_cast<std::uint32_t>(k) << 28) | 0x0FFF0D0Cu;
}
constexpr std::uint32_t SwitchCellCode(int k)
{
    return (static_cast<std::uint32_t>(k) << 28) | 0x01C4046Eu;
}

// The record a page edits; nullopt for the survey-kind page and unknown types.
std::optional<GnssRecord> RecordOfPage(short pageType);

// Text item of a text cell code; -1 for any other code.
int TextItemOfCell(std::uint32_t cell);

// Which cells take drop-down lists, and their list key with the variant's prefix.
bool IsListCell(short pageType, std::uint32_t cell);
std::optional<std::string> ListKeyOf(short pageType, std::uint32_t cell, SurveyVariant variant);

// The five switch cells of the positional page.
bool IsSwitchCell(short pageType, std::uint32_t cell);

// Lock test: on the positional page a governed text cell is locked while its switch
// is 0 (automatic). Without the switches (F03 could not be read) nothing is locked.
bool IsCellLocked(short pageType, std::uint32_t cell, const std::optional<std::array<short, 5>>& switches);

// A sheet's variant from its flags: levelling wins, then either elevation flag.
SurveyVariant SheetVariant(bool levelling, bool elevation3, bool elevation4);

}  // namespace mod04827

#include "plugins/gnss/GnssSheetRules.h"

namespace mod04827 {

namespace {

struct LockedCell {
    int item;
    int switchNumber;
};
constexpr LockedCell kLockedCells[] = {{0, 1}, {1, 2}, {3, 3}, {4, 4}, {6, 5}};

}  // namespace

std::optional<GnssRecord> RecordOfPage(short pageType)
{
    switch (pageType) {
    case kPageHeader: return GnssRecord::F1;
    case kPageCompleteness: return GnssRecord::F01;
    case kPageLogical: return GnssRecord::F02;
    case kPagePositional: return GnssRecord::F03;
    case kPageTemporal: return GnssRecord::F04;
    case kPageThematic: return GnssRecord::F05;
    default: return std::nullopt;
    }
}

int TextItemOfCell(std::uint32_t cell)
{
    if ((cell & 0x0FFFFFFFu) != 0x0FFF0D0Cu) return -1;
    return static_cast<int>(cell >> 28);
}

std::optional<std::string> ListKeyOf(short pageType, std::uint32_t cell, SurveyVariant variant)
{
    const auto record = RecordOfPage(pageType);
    const int item = TextItemOfCell(cell);
    if (!record || item < 0) return std::nullopt;
    const int field = TextFieldIndex(*record, item);
    if (field < 0) return std::nullopt;
    const GnssTableKey& key = GnssTableKeys()[static_cast<std::size_t>(field)];
    if (key.listKey.empty()) return std::nullopt;
    return std::string(KeyPrefix(variant)) + std::string(key.listKey);
}

bool IsListCell(short pageType, std::uint32_t cell)
{
    return ListKeyOf(pageType, cell, SurveyVariant::Control).has_value();
}

bool IsSwitchCell(short pageType, std::uint32_t cell)
{
    if (pageType != kPagePositional) return false;
    for (const LockedCell& c : kLockedCells) {
        if (cell == SwitchCellCode(c.item)) return true;
    }
    return false;
}

bool IsCellLocked(short pageType, std::uint32_t cell, const std::optional<std::array<short, 5>>& switches)
{
    if (pageType != kPagePositional || !switches) return false;
    for (const LockedCell& c : kLockedCells) {
        if (cell == TextCellCode(c.item)) return (*switches)[static_cast<std::size_t>(c.switchNumber - 1)] == 0;
    }
    return false;
}

SurveyVariant SheetVariant(bool levelling, bool elevation3, bool elevation4)
{
    if (levelling) return SurveyVariant::Levelling;
    if (elevation3) return SurveyVariant::Elevation3;
    if (elevation4) return SurveyVariant::Elevation4;
    return SurveyVariant::Control;
}

}  // namespace mod04827

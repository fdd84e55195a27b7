#pragma once

#include "plugins/gnss/SurveyVariant.h"

#include <array>
#include <optional>
#include <string_view>

namespace mod04827 {

// One of the dialog's 27 sheet places (places 0 and 2 are not used).
struct SheetPlace {
    int place;
    int controlId;
    short pageType;
    std::optional<SurveyVariant> variant;   // none: the survey-kind sheet
    int sheetNumber;
    std::string_view templateName;
};

// The 25 used places in the order the dialog initialises them.
const std::array<SheetPlace, 25>& SheetPlacesInInitOrder();
const SheetPlace* FindSheetPlace(int place);

inline constexpr int kSurveyKindSheet = 14;
inline constexpr int kTabCount = 5;

// The header sheet and the page sheet of tab t (0..4) of a variant; -1 for a tab out of range.
int HeaderSheetOf(SurveyVariant variant);
int PageSheetOf(SurveyVariant variant, int tab);

// The variant shown for the given kind tests (levelling before elevation 3 before 4).
SurveyVariant ShownVariant(bool levelling, bool elevation3, bool elevation4);

// The survey kind the current conditions call for.
int KindFromConditions(bool levellingInUse, bool elevation3InUse, bool elevation4InUse);

}  // namespace mod04827

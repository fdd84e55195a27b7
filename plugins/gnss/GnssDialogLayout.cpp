#include "plugins/gnss/GnssDialogLayout.h"

#include "plugins/gnss/GnssSheetRules.h"

namespace mod04827 {

namespace {

using V = SurveyVariant;

constexpr std::array<SheetPlace, 25> kPlaces{{
    {1, 9002, kPageHeader, V::Control, 0, "tab04827_0.vst"},
    {3, 9004, kPageCompleteness, V::Control, 2, "tab04827_2.vst"},
    {4, 9005, kPageLogical, V::Control, 3, "tab04827_3.vst"},
    {5, 9006, kPagePositional, V::Control, 4, "tab04827_4.vst"},
    {6, 9007, kPageTemporal, V::Control, 5, "tab04827_5.vst"},
    {7, 9008, kPageThematic, V::Control, 6, "tab04827_6.vst"},
    {14, 9009, kPageSurveyKind, std::nullopt, 7, "tab04827_7.vst"},
    {8, 9010, kPageHeader, V::Levelling, 8, "tab04827_8.vst"},
    {9, 9011, kPageCompleteness, V::Levelling, 9, "tab04827_9.vst"},
    {10, 9012, kPageLogical, V::Levelling, 10, "tab04827_10.vst"},
    {11, 9013, kPagePositional, V::Levelling, 11, "tab04827_11.vst"},
    {12, 9014, kPageTemporal, V::Levelling, 12, "tab04827_12.vst"},
    {13, 9015, kPageThematic, V::Levelling, 13, "tab04827_13.vst"},
    {15, 9016, kPageHeader, V::Elevation3, 15, "tab04827_8.vst"},
    {16, 9017, kPageCompleteness, V::Elevation3, 16, "tab04827_9.vst"},
    {17, 9018, kPageLogical, V::Elevation3, 17, "tab04827_10.vst"},
    {18, 9019, kPagePositional, V::Elevation3, 18, "tab04827_11.vst"},
    {19, 9020, kPageTemporal, V::Elevation3, 19, "tab04827_12.vst"},
    {20, 9021, kPageThematic, V::Elevation3, 20, "tab04827_13.vst"},
    {21, 9022, kPageHeader, V::Elevation4, 21, "tab04827_8.vst"},
    {22, 9023, kPageCompleteness, V::Elevation4, 22, "tab04827_9.vst"},
    {23, 9024, kPageLogical, V::Elevation4, 23, "tab04827_10.vst"},
    {24, 9025, kPagePositional, V::Elevation4, 24, "tab04827_11.vst"},
    {25, 9026, kPageTemporal, V::Elevation4, 25, "tab04827_12.vst"},
    {26, 9027, kPageThematic, V::Elevation4, 26, "tab04827_13.vst"},
}};

}  // namespace

const std::array<SheetPlace, 25>& SheetPlacesInInitOrder()
{
    return kPlaces;
}

const SheetPlace* FindSheetPlace(int place)
{
    for (const SheetPlace& p : kPlaces) {
        if (p.place == place) return &p;
    }
    return nullptr;
}

int HeaderSheetOf(SurveyVariant variant)
{
    switch (variant) {
    case V::Levelling: return 8;
    case V::Elevation3: return 15;
    case V::Elevation4: return 21;
    case V::Control: break;
    }
    return 1;
}

int PageSheetOf(SurveyVariant variant, int tab)
{
    if (tab < 0 || tab >= kTabCount) return -1;
    switch (variant) {
    case V::Levelling: return 9 + tab;
    case V::Elevation3: return 16 + tab;
    case V::Elevation4: return 22 + tab;
    case V::Control: break;
    }
    return 3 + tab;
}

SurveyVariant ShownVariant(bool levelling, bool elevation3, bool elevation4)
{
    if (levelling) return V::Levelling;
    if (elevation3) return V::Elevation3;
    if (elevation4) return V::Elevation4;
    return V::Control;
}

int KindFromConditions(bool levellingInUse, bool elevation3InUse, bool elevation4InUse)
{
    if (levellingInUse) return 1;
    if (elevation3InUse) return 2;
    if (elevation4InUse) return 3;
    return 0;
}

}  // namespace mod04827

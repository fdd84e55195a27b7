#include "plugins/gnss/SurveyVariant.h"

namespace mod04827 {

SurveyVariant VariantOfKind(int surveyKind)
{
    switch (surveyKind) {
    case 1: return SurveyVariant::Levelling;
    case 2: return SurveyVariant::Elevation3;
    case 3: return SurveyVariant::Elevation4;
    default: return SurveyVariant::Control;
    }
}

int KindOfVariant(SurveyVariant variant)
{
    switch (variant) {
    case SurveyVariant::Levelling: return 1;
    case SurveyVariant::Elevation3: return 2;
    case SurveyVariant::Elevation4: return 3;
    case SurveyVariant::Control: break;
    }
    return 0;
}

std::string_view SurveyKindName(int surveyKind)
{
    switch (VariantOfKind(surveyKind)) {
    case SurveyVariant::Levelling: return "水準測量";
    case SurveyVariant::Elevation3: return "標高測量(３級)";
    case SurveyVariant::Elevation4: return "標高測量(４級)";
    case SurveyVariant::Control: break;
    }
    return "基準点測量";
}

std::string_view IniFileName(SurveyVariant variant)
{
    switch (variant) {
    case SurveyVariant::Levelling: return "GPSHYOUKA_SUI.ini";
    case SurveyVariant::Elevation3: return "GPSHYOUKA_HYO3.ini";
    case SurveyVariant::Elevation4: return "GPSHYOUKA_HYO4.ini";
    case SurveyVariant::Control: break;
    }
    return "GPSHYOUKA.ini";
}

std::string_view KeyPrefix(SurveyVariant variant)
{
    switch (variant) {
    case SurveyVariant::Levelling: return "水準:";
    case SurveyVariant::Elevation3:
    case SurveyVariant::Elevation4: return "標高:";
    case SurveyVariant::Control: break;
    }
    return "";
}

std::string_view ListFileName(SurveyVariant variant)
{
    switch (variant) {
    case SurveyVariant::Levelling: return "GpsHyoCmbSui.ini";
    case SurveyVariant::Elevation3:
    case SurveyVariant::Elevation4: return "GpsHyoCmbHyo.ini";
    case SurveyVariant::Control: break;
    }
    return "GpsHyoCmbKjn.ini";
}

}  // namespace mod04827

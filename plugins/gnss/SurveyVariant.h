#pragma once

#include <string_view>

namespace mod04827 {

// The four table sets of a part, chosen by the survey kind (first short of F3).
enum class SurveyVariant { Control, Levelling, Elevation3, Elevation4 };

inline constexpr int kSurveyVariantCount = 4;

SurveyVariant VariantOfKind(int surveyKind);
int KindOfVariant(SurveyVariant variant);
std::string_view SurveyKindName(int surveyKind);

// INI file of the set (with its leading separator), its key prefix and its list file.
std::string_view IniFileName(SurveyVariant variant);
std::string_view KeyPrefix(SurveyVariant variant);
std::string_view ListFileName(SurveyVariant variant);

}  // namespace mod04827

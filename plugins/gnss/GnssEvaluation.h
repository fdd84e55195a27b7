#pragma once

#include "plugins/gnss/GnssTexts.h"

#include <string>

class PartSystem;
class Tab04827Data;

namespace mod04827 {

// One evaluation of a part's GNSS survey: the tolerances of its grade beside the
// maxima of the stored check results, as the texts of the positional-accuracy record.
// Complete when constructed; read the texts only when the result code is 0.
class GnssEvaluation {
public:
    explicit GnssEvaluation(const Tab04827Data& data, PartSystem* handle = nullptr);

    short ResultCode() const { return m_code; }
    const GnssTexts& Texts() const { return m_texts; }
    const std::string& WorkKindName() const { return m_workKindName; }
    const std::string& SurveyKindName() const { return m_surveyKindName; }

private:
    GnssTexts m_texts;
    short m_code = 0;
    std::string m_workKindName;
    std::string m_surveyKindName;
};

}  // namespace mod04827

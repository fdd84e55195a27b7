#pragma once

#include "plugins/common/CalcContext.h"
#include "plugins/gnss/GnssTexts.h"

#include <memory>
#include <string>

class KjnXyda_Nt;
class PartData;
class PartSystem;
class Tab04827Data;

namespace mod04827 {

// The context of one DoCalc or form call: the part's records, and unless the caller
// asked for no calculation, the evaluation's result and texts, reported to the host's
// command-message box when built.
class Cal : public plugcommon::CalcContext {
public:
    Cal(const PartData& data, short noCalc, PartSystem* handle = nullptr);
    ~Cal() override;

    short ResultCode() const override { return m_resultCode; }
    bool RunEvaluation();

    const Tab04827Data& Data() const { return *m_data; }
    const GnssTexts& Texts() const { return m_texts; }
    const std::string& WorkKindName() const { return m_workKindName; }
    const std::string& SurveyKindName() const { return m_surveyKindName; }
    short NoCalc() const { return m_noCalc; }

private:
    void Report(const PartData& data) const;

    std::unique_ptr<Tab04827Data> m_data;
    std::unique_ptr<KjnXyda_Nt> m_coordinates;
    PartSystem* m_handle;
    GnssTexts m_texts;
    std::string m_workKindName;
    std::string m_surveyKindName;
    short m_resultCode = 0;
    short m_noCalc = 0;
};

}  // namespace mod04827

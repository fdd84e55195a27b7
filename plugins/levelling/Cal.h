#pragma once

#include <array>
#include <memory>
#include <string>

#include "plugins/common/CalcContext.h"

class KjnXyda_Nt;
class PartData;
class Tab00963Data;

namespace mod00963 {

// The calculation context of one DoCalc or form call: the part's records, the
// evaluation's status and three texts. Building it runs the evaluation and reports
// through the host's command-message box, unless noCalc is set.
class Cal : public plugcommon::CalcContext {
public:
    Cal(const PartData& data, short noCalc);
    ~Cal() override;

    short ResultCode() const override { return m_status; }
    // Runs the evaluation; copies its status and, on 0, its three texts.
    bool RunEvaluation();

    const Tab00963Data& Data() const { return *m_data; }
    // Overall requirement, relative requirement, relative result.
    const std::array<std::string, 3>& Texts() const { return m_texts; }
    std::string StatusMessage() const;

private:
    void Report() const;

    std::unique_ptr<Tab00963Data> m_data;
    std::unique_ptr<KjnXyda_Nt> m_coordinates;
    std::array<std::string, 3> m_texts;
    short m_status = 0;
    short m_noCalc;
};

} // namespace mod00963

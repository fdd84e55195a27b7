#pragma once

#include <array>
#include <memory>
#include <string>

#include "plugins/common/TableCalcContext.h"

class PartData;
class Tab00963Data;

namespace mod00963 {

// The calculation context of one DoCalc or form call: the part's records, the
// evaluation's status and three texts. Building it runs the evaluation and reports
// through the host's command-message box, unless noCalc is set.
class Cal : public plugcommon::TableCalcContext<Tab00963Data> {
public:
    Cal(const PartData& data, short noCalc);
    ~Cal() override;

    // Runs the evaluation; copies its status and, on 0, its three texts.
    bool RunEvaluation();

    // Overall requirement, relative requirement, relative result.
    const std::array<std::string, 3>& Texts() const { return m_texts; }
    std::string StatusMessage() const;

private:
    void Report() const;

    std::array<std::string, 3> m_texts;
};

} // namespace mod00963

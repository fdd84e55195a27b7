#pragma once

#include <array>
#include <memory>
#include <string>

#include "plugins/common/TableCalcContext.h"

class PartData;
class Tab00519Data;

namespace mod00519 {

// The calculation context of one DoCalc or form call: the part's records, the
// evaluation's status and texts. Building it runs the evaluation and reports through
// the host's command-message box, unless noCalc is set.
class Cal : public plugcommon::TableCalcContext<Tab00519Data> {
public:
    Cal(const PartData& data, short noCalc);
    ~Cal() override;

    // Runs the evaluation; copies status, item index and kind, and on status 0 the texts.
    bool RunEvaluation();

    const std::array<std::string, 7>& Texts() const { return m_texts; }
    short ItemIndex() const { return m_itemIndex; }
    const std::string& ItemKind() const { return m_itemKind; }
    std::string StatusMessage() const;

private:
    void Report() const;

    std::array<std::string, 7> m_texts;
    short m_itemIndex = -1;
    std::string m_itemKind;
};

} // namespace mod00519

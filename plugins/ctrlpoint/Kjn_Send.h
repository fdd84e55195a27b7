#pragma once

#include <array>
#include <memory>
#include <string>

#include "plugins/common/TableCarrier.h"

class PartData;
class Tab00519Data;

namespace mod00519 {

// The CSV carrier of the control-point table: the part's records, the evaluation's
// texts and the state message of each outcome.
class Kjn_Send : public plugcommon::TableCarrier<Tab00519Data> {
public:
    explicit Kjn_Send(const PartData& data);
    ~Kjn_Send() override;

    bool RunEvaluation() override;
    int WriteCsv(plugcommon::CsvWriter& out) override;
    std::string GetStateMessage() const override;

    const std::array<std::string, 7>& Texts() const { return m_texts; }

private:
    std::array<std::string, 7> m_texts;
    short m_itemIndex = -1;
    std::string m_itemKind;
};

// The CSV command of the table dialog: writes "KJNHYO.CSV" in the binder's temporary
// folder, lets the user store it in the binder and shows the outcome. True on success.
bool ExportControlPointCsv(const PartData& data);

} // namespace mod00519

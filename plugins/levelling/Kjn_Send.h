#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "plugins/common/TableCarrier.h"

class PartData;
class Tab00963Data;

namespace mod00963 {

// The CSV carrier of the levelling table: the part's records, the evaluation's texts
// and the state message of each outcome.
class Kjn_Send : public plugcommon::TableCarrier<Tab00963Data> {
public:
    explicit Kjn_Send(const PartData& data);
    ~Kjn_Send() override;

    bool RunEvaluation() override;
    int WriteCsv(plugcommon::CsvWriter& out) override;
    // 1, 2 and 4 the evaluation's texts, 3 the cancel text, the general failure its
    // text; any other state "".
    std::string GetStateMessage() const override;

    const std::array<std::string, 3>& Texts() const { return m_texts; }

private:
    std::array<std::string, 3> m_texts;
    std::vector<std::string> m_resultPieces;
};

// The CSV command of the table dialog: writes "SUIHYO.CSV" in the binder's temporary
// folder, lets the user store it in the binder and shows the outcome. True on success.
bool ExportLevellingCsv(const PartData& data);

} // namespace mod00963

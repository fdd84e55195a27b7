#pragma once

#include "plugins/common/Kjn_Send.h"
#include "plugins/gnss/GnssTexts.h"

#include <memory>
#include <string>

class PartData;
class PartSystem;
class Tab04827Data;

namespace mod04827 {

// The carrier of one "GPSHYO.CSV" output: the part's records, the evaluation's texts
// and the lines of the GNSS quality table.
class Kjn_Send : public plugcommon::Kjn_Send {
public:
    explicit Kjn_Send(const PartData& data, PartSystem* handle = nullptr);
    ~Kjn_Send() override;

    bool RunEvaluation() override;
    int WriteCsv(plugcommon::CsvWriter& out) override;
    // Every result code has its text: 7 names the work kind and the survey kind.
    std::string GetStateMessage() const override;

    const GnssTexts& Texts() const { return m_texts; }

private:
    std::unique_ptr<Tab04827Data> m_data;
    PartSystem* m_handle;
    GnssTexts m_texts;
    std::string m_workKindName;
    std::string m_surveyKindName;
};

// The CSV command of the table dialog; non-zero on success.
int ExportEvaluationCsv(const PartData& data);

}  // namespace mod04827

#pragma once

#include "hostfw/CABINFO.h"
#include "hostfw/HostTypes.h"
#include "plugins/common/CsvWriter.h"

#include <array>
#include <string>
#include <vector>

namespace plugcommon {

struct PluginTable;

// The carrier of one CSV output: runs the plug-in's evaluation, writes the metadata
// lines, lets the user choose the binder file, copies the output there and registers
// it. A plug-in derives its Kjn_Send from this and supplies the evaluation, the lines
// and its state texts. Send succeeds only when the file was written and stored.
class Kjn_Send {
public:
    static constexpr short kStateCancelled = 3;
    static constexpr const char* kHeaderCitation =
        "MD_Metadata/identificationInfo/MD_DataIdentification/citation/";
    static constexpr const char* kHeaderScope = "MD_Metadata/dataQualityInfo/DQ_DataQuality/scope/";
    static constexpr const char* kElementPrefix =
        "MD_Metadata/dataQualityInfo/DQ_DataQuality/report/DQ_Element[";

    explicit Kjn_Send(const PluginTable& table);
    virtual ~Kjn_Send();
    Kjn_Send(const Kjn_Send&) = delete;
    Kjn_Send& operator=(const Kjn_Send&) = delete;

    // The output file in the binder's temporary folder; Send needs one.
    void SetOutputPath(const std::string& path) { m_outputPath = path; }
    const std::string& OutputPath() const { return m_outputPath; }

    // Open, evaluate, write, close, choose the binder file, store and register.
    // Non-zero only when the file was written and stored.
    int Send();

    // The evaluation: sets the state (its result code); true when it is 0.
    virtual bool RunEvaluation() = 0;
    // The plug-in's lines; 1 when all were written (after a failed line the writer has
    // already aborted the output).
    virtual int WriteCsv(CsvWriter& out) = 0;
    // Text for the state: 3 "出力を中止しました。" here; plug-ins add their codes.
    virtual std::string GetStateMessage() const;

    // The six header lines.
    int WriteHeader(CsvWriter& out, const std::string& title, const std::string& date,
                    const std::string& levelDescription);
    // The seven lines of data-quality element n; aborts the output at a failed line.
    int WriteQualityElement(CsvWriter& out, int element, const std::array<std::string, 7>& values);

    short GetState() const { return m_state; }
    void SetState(short state) { m_state = state; }
    const PluginTable& Table() const { return m_table; }

    // File choice and binder steps (public for tests).
    void ChooseOutputFile();
    bool OutputFileExists() const;
    int RegisterOutputInBinder();

    std::string m_text1;
    std::string m_text2;
    int m_registerFlag = 1;
    int m_deliveryFlag = 1;
    CABINFO m_cabInfo;
    std::vector<std::string> m_attributes;
    std::string m_binderFile;

private:
    const PluginTable& m_table;
    short m_state = 0;
    std::string m_outputPath;
};

} // namespace plugcommon

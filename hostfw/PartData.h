#pragma once

#include "hostfw/HostTypes.h"
#include "hostfw/PartRecord.h"

#include <map>
#include <string>
#include <vector>

class RecordSet;

// The host's record of one part (one calculation instance): who it is and, held in
// memory, all its parameter records. Copyable; CPartDB loads and stores it.
class HOSTFW_API PartData {
public:
    PartData() = default;
    PartData(WORD programNo, DWORD address);
    virtual ~PartData();
    PartData(const PartData&) = default;
    PartData& operator=(const PartData&) = default;

    WORD GetPrgNo() const { return m_programNo; }
    DWORD GetAddress() const { return m_address; }
    // The 32-bit key the host's command-message box files this part's messages under.
    DWORD GetPartKey() const { return m_partKey; }
    void SetPartKey(DWORD key) { m_partKey = key; }
    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }
    // Report names: 3 is the report number name the calculation messages use.
    std::string GetReportNoName(int kind) const;
    void SetReportNoName(int kind, const std::string& name);
    // The two name texts a report document is titled with.
    const std::string& GetTitle1() const { return m_title1; }
    const std::string& GetTitle2() const { return m_title2; }
    void SetTitles(const std::string& title1, const std::string& title2);
    bool IsActive() const { return m_active; }
    void SetActive(bool active) { m_active = active; }

    // Records by name ("F1", "F03S", "R3"). Plain records have one row (row 0).
    // GetRecord answers false when the row was never stored; out is then cleared to
    // the layout of the program's record set when there is one.
    bool GetRecord(const std::string& name, std::size_t row, PartRecord& out) const;
    void PutRecord(const std::string& name, std::size_t row, const PartRecord& record);
    std::size_t RowCount(const std::string& name) const;
    void ClearRecord(const std::string& name);
    void EraseRow(const std::string& name, std::size_t row);
    // First row whose field holds value, or -1.
    int SearchRow(const std::string& name, std::size_t field, std::int64_t value) const;

    // Empties the record of type-data number n of this program's record set.
    void ClearTypeData(int typeNo);

    const std::map<std::string, std::vector<PartRecord>>& Records() const { return m_records; }
    const RecordSet* GetRecordSet() const;

private:
    WORD m_programNo = 0;
    DWORD m_address = 0;
    DWORD m_partKey = 0;
    bool m_active = true;
    std::string m_name;
    std::map<int, std::string> m_reportNames;
    std::string m_title1;
    std::string m_title2;
    std::map<std::string, std::vector<PartRecord>> m_records;
};

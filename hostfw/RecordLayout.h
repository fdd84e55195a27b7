#pragma once

#include "hostfw/HostTypes.h"

#include <string>
#include <vector>

// Kind of one field of a parameter record.
enum class FieldKind { Text, Short, Long, Dword, Double };

// Name, type-data number and field kinds of one record of a program's parameter
// database ("F1", "F03S", "R3"...). A list record holds any number of rows.
class HOSTFW_API RecordLayout {
public:
    RecordLayout(std::string name, int typeNo, std::vector<FieldKind> fields, bool isList = false);

    const std::string& Name() const { return m_name; }
    int TypeNo() const { return m_typeNo; }
    bool IsList() const { return m_isList; }
    const std::vector<FieldKind>& Fields() const { return m_fields; }
    std::size_t FieldCount() const { return m_fields.size(); }

    // Shorthands for building tables: n texts, or a mixed list.
    static std::vector<FieldKind> Texts(std::size_t n);

private:
    std::string m_name;
    int m_typeNo;
    std::vector<FieldKind> m_fields;
    bool m_isList;
};

// The records of one program's parameter database, with lookups by name and by
// type-data number (the number a sheet is bound to, and ClearTypeData's argument).
class HOSTFW_API RecordSet {
public:
    RecordSet(WORD programNo, std::vector<RecordLayout> records);

    WORD ProgramNo() const { return m_programNo; }
    const std::vector<RecordLayout>& Records() const { return m_records; }
    const RecordLayout* ByName(const std::string& name) const;
    const RecordLayout* ByTypeNo(int typeNo) const;

    // The record sets of the three quality-table programs (4827, 519, 963); null for
    // any other program. Plug-in issues may register sibling sets of their own.
    static const RecordSet* ForProgram(WORD programNo);
    static void Register(const RecordSet* set);

private:
    WORD m_programNo;
    std::vector<RecordLayout> m_records;
};

#pragma once

#include "hostfw/HostTypes.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

class RecordLayout;

// One value of a stored record: empty, an integer (short, long, DWORD), a double or a
// UTF-8 text. Records are stored field by field, never as raw structs.
using FieldValue = std::variant<std::monostate, std::int64_t, double, std::string>;

// One record of a part (a row of a list record, or the one row of a plain record).
// Field k is the k-th field in record order; texts are UTF-8 whose CP932 form is at
// most 254 bytes (the host's char[255] fields).
class HOSTFW_API PartRecord {
public:
    PartRecord() = default;
    explicit PartRecord(const RecordLayout& layout);   // every field empty: 0 or ""

    std::size_t FieldCount() const { return m_fields.size(); }
    const std::vector<FieldValue>& Fields() const { return m_fields; }
    std::vector<FieldValue>& Fields() { return m_fields; }

    // Readers answer 0 or "" for a missing field or one of another kind.
    std::string Text(std::size_t field) const;
    short Short(std::size_t field) const;            // saturates to the short range
    std::int64_t Long(std::size_t field) const;
    DWORD Dword(std::size_t field) const;
    double Double(std::size_t field) const;

    // Writers grow the record as needed. SetText cuts a text whose CP932 form is over
    // 254 bytes on a character boundary; it answers false when it had to cut.
    bool SetText(std::size_t field, const std::string& utf8);
    void SetShort(std::size_t field, short value);
    void SetLong(std::size_t field, std::int64_t value);
    void SetDword(std::size_t field, DWORD value);
    void SetDouble(std::size_t field, double value);

    void Clear();                                     // every field back to 0 / ""

    bool operator==(const PartRecord&) const = default;

private:
    std::vector<FieldValue> m_fields;
};

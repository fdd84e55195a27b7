#include "hostfw/PartRecord.h"

#include "hostfw/RecordLayout.h"
#include "platform/Cp932.h"

#include <limits>

PartRecord::PartRecord(const RecordLayout& layout)
{
    m_fields.reserve(layout.FieldCount());
    for (FieldKind kind : layout.Fields()) {
        switch (kind) {
        case FieldKind::Text: m_fields.emplace_back(std::string()); break;
        case FieldKind::Double: m_fields.emplace_back(0.0); break;
        default: m_fields.emplace_back(std::int64_t{0}); break;
        }
    }
}

std::string PartRecord::Text(std::size_t field) const
{
    if (field >= m_fields.size())
        return {};
    if (const auto* text = std::get_if<std::string>(&m_fields[field]))
        return *text;
    return {};
}

std::int64_t PartRecord::Long(std::size_t field) const
{
    if (field >= m_fields.size())
        return 0;
    if (const auto* value = std::get_if<std::int64_t>(&m_fields[field]))
        return *value;
    if (const auto* value = std::get_if<double>(&m_fields[field]))
        return static_cast<std::int64_t>(*value);
    return 0;
}

short PartRecord::Short(std::size_t field) const
{
    const std::int64_t v = Long(field);
    if (v > std::numeric_limits<short>::max())
        return std::numeric_limits<short>::max();
    if (v < std::numeric_limits<short>::min())
        return std::numeric_limits<short>::min();
    return static_cast<short>(v);
}

DWORD PartRecord::Dword(std::size_t field) const
{
    return static_cast<DWORD>(Long(field));
}

double PartRecord::Double(std::size_t field) const
{
    if (field >= m_fields.size())
        return 0.0;
    if (const auto* value = std::get_if<double>(&m_fields[field]))
        return *value;
    if (const auto* value = std::get_if<std::int64_t>(&m_fields[field]))
        return static_cast<double>(*value);
    return 0.0;
}

bool PartRecord::SetText(std::size_t field, const std::string& utf8)
{
    if (field >= m_fields.size())
        m_fields.resize(field + 1);
    if (tessara::Cp932Length(utf8) <= kRecordTextBytes) {
        m_fields[field] = utf8;
        return true;
    }
    m_fields[field] = tessara::CutToCp932Bytes(utf8, kRecordTextBytes);
    return false;
}

void PartRecord::SetLong(std::size_t field, std::int64_t value)
{
    if (field >= m_fields.size())
        m_fields.resize(field + 1);
    m_fields[field] = value;
}

void PartRecord::SetShort(std::size_t field, short value)
{
    SetLong(field, value);
}

void PartRecord::SetDword(std::size_t field, DWORD value)
{
    SetLong(field, static_cast<std::int64_t>(value));
}

void PartRecord::SetDouble(std::size_t field, double value)
{
    if (field >= m_fields.size())
        m_fields.resize(field + 1);
    m_fields[field] = value;
}

void PartRecord::Clear()
{
    for (FieldValue& value : m_fields) {
        if (std::holds_alternative<std::string>(value))
            value = std::string();
        else if (std::holds_alternative<double>(value))
            value = 0.0;
        else
            value = std::int64_t{0};
    }
}

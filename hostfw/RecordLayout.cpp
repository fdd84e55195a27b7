#include "hostfw/RecordLayout.h"

#include "hostfw/Tab00519Data.h"
#include "hostfw/Tab00963Data.h"
#include "hostfw/Tab04827Data.h"

#include <map>
#include <mutex>

RecordLayout::RecordLayout(std::string name, int typeNo, std::vector<FieldKind> fields, bool isList)
    : m_name(std::move(name)), m_typeNo(typeNo), m_fields(std::move(fields)), m_isList(isList)
{
}

std::vector<FieldKind> RecordLayout::Texts(std::size_t n)
{
    return std::vector<FieldKind>(n, FieldKind::Text);
}

RecordSet::RecordSet(WORD programNo, std::vector<RecordLayout> records)
    : m_programNo(programNo), m_records(std::move(records))
{
}

const RecordLayout* RecordSet::ByName(const std::string& name) const
{
    for (const RecordLayout& layout : m_records)
        if (layout.Name() == name)
            return &layout;
    return nullptr;
}

const RecordLayout* RecordSet::ByTypeNo(int typeNo) const
{
    for (const RecordLayout& layout : m_records)
        if (layout.TypeNo() == typeNo)
            return &layout;
    return nullptr;
}

namespace {

struct Registry {
    std::mutex mutex;
    std::map<WORD, const RecordSet*> sets;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

} // namespace

void RecordSet::Register(const RecordSet* set)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.sets[set->ProgramNo()] = set;
}

const RecordSet* RecordSet::ForProgram(WORD programNo)
{
    Registry& registry = TheRegistry();
    {
        std::lock_guard lock(registry.mutex);
        if (auto it = registry.sets.find(programNo); it != registry.sets.end())
            return it->second;
    }
    // The quality-table sets are known without registration.
    switch (programNo) {
    case 4827: return &Tab04827Data::Records();
    case 519: return &Tab00519Data::Records();
    case 963: return &Tab00963Data::Records();
    default: return nullptr;
    }
}

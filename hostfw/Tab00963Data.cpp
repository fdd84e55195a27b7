#include "hostfw/Tab00963Data.h"

#include "hostfw/QualityTableRecords.h"
#include "hostfw/RecordLayout.h"

namespace {

using K = FieldKind;

RecordSet MakeRecords()
{
    std::vector<RecordLayout> records = QualityTableRecords(
        std::vector<FieldKind>{K::Short},
        std::vector<FieldKind>{K::Short, K::Text, K::Text, K::Text, K::Text,
                               K::Short, K::Text, K::Text, K::Short, K::Text,
                               K::Text, K::Text, K::Text});
    records.emplace_back("FR1", 7, std::vector<FieldKind>{K::Dword});
    records.emplace_back("R2", 8, std::vector<FieldKind>{K::Dword}, true);
    records.emplace_back("R3", 9, std::vector<FieldKind>{K::Dword}, true);
    return RecordSet(Tab00963Data::kProgramNo, std::move(records));
}

} // namespace

const RecordSet& Tab00963Data::Records()
{
    static const RecordSet records = MakeRecords();
    return records;
}

Tab00963Data::Tab00963Data() : TabParamData(PartData(kProgramNo, 0)) {}

Tab00963Data::Tab00963Data(const PartData& data) : TabParamData(data) {}

Tab00963Data::~Tab00963Data() = default;

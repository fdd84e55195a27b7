#include "hostfw/Tab00519Data.h"

#include "hostfw/QualityTableRecords.h"
#include "hostfw/RecordLayout.h"

namespace {

using K = FieldKind;

RecordSet MakeRecords()
{
    std::vector<RecordLayout> records = QualityTableRecords(
        std::vector<FieldKind>{K::Short, K::Short},
        std::vector<FieldKind>{K::Short, K::Text, K::Short, K::Text, K::Text,
                               K::Short, K::Text, K::Short, K::Text, K::Text,
                               K::Short, K::Text, K::Text, K::Text, K::Text});
    records.emplace_back("FR1", 7, std::vector<FieldKind>{K::Dword, K::Dword});
    records.emplace_back("FR2", 8, std::vector<FieldKind>{K::Dword});
    records.emplace_back("FR3", 9, std::vector<FieldKind>{K::Dword});
    records.emplace_back("R3", 10, std::vector<FieldKind>{K::Dword}, true);
    records.emplace_back("R4", 11, std::vector<FieldKind>{K::Dword, K::Dword}, true);
    return RecordSet(Tab00519Data::kProgramNo, std::move(records));
}

} // namespace

const RecordSet& Tab00519Data::Records()
{
    static const RecordSet records = MakeRecords();
    return records;
}

Tab00519Data::Tab00519Data() : TabParamData(PartData(kProgramNo, 0)) {}

Tab00519Data::Tab00519Data(const PartData& data) : TabParamData(data) {}

Tab00519Data::~Tab00519Data() = default;

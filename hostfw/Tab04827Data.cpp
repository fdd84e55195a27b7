#include "hostfw/Tab04827Data.h"

#include "hostfw/RecordLayout.h"

namespace {

using K = FieldKind;

std::vector<FieldKind> HeaderFields()
{
    return {K::Text, K::Text, K::Text, K::Text, K::Short, K::Text, K::Text, K::Text, K::Text};
}

std::vector<FieldKind> PositionalFields()
{
    return {K::Short, K::Text, K::Short, K::Text, K::Text,  K::Short, K::Text, K::Short,
            K::Text,  K::Text, K::Short, K::Text, K::Text, K::Text,  K::Text};
}

// One survey variant's six records at type numbers header, header + 1 ... header + 5.
void AddVariant(std::vector<RecordLayout>& out, const std::string& suffix, int header, int first)
{
    out.emplace_back("F1" + suffix, header, HeaderFields());
    out.emplace_back("F01" + suffix, first, RecordLayout::Texts(7));
    out.emplace_back("F02" + suffix, first + 1, RecordLayout::Texts(13));
    out.emplace_back("F03" + suffix, first + 2, PositionalFields());
    out.emplace_back("F04" + suffix, first + 3, RecordLayout::Texts(10));
    out.emplace_back("F05" + suffix, first + 4, RecordLayout::Texts(10));
}

RecordSet MakeRecords()
{
    std::vector<RecordLayout> records;
    AddVariant(records, "", 0, 2);
    AddVariant(records, "S", 8, 9);
    AddVariant(records, "H3", 15, 16);
    AddVariant(records, "H4", 21, 22);
    records.emplace_back("F2", 1, std::vector<FieldKind>{K::Long});
    records.emplace_back("F3", 7, std::vector<FieldKind>{K::Short});
    records.emplace_back("F7", 14, std::vector<FieldKind>{K::Short});
    return RecordSet(Tab04827Data::kProgramNo, std::move(records));
}

} // namespace

const RecordSet& Tab04827Data::Records()
{
    static const RecordSet records = MakeRecords();
    return records;
}

Tab04827Data::Tab04827Data() : TabParamData(PartData(kProgramNo, 0)) {}

Tab04827Data::Tab04827Data(const PartData& data) : TabParamData(data) {}

Tab04827Data::~Tab04827Data() = default;

#include "hostfw/QualityTableRecords.h"

#include <utility>

std::vector<RecordLayout> QualityTableRecords(std::vector<FieldKind> f2, std::vector<FieldKind> f03)
{
    using K = FieldKind;
    std::vector<RecordLayout> records;
    records.emplace_back("F1", 0,
                         std::vector<FieldKind>{K::Text, K::Text, K::Text, K::Text, K::Short, K::Text,
                                                K::Text, K::Text, K::Short, K::Text});
    records.emplace_back("F2", 1, std::move(f2));
    records.emplace_back("F01", 2, RecordLayout::Texts(7));
    records.emplace_back("F02", 3, RecordLayout::Texts(13));
    records.emplace_back("F03", 4, std::move(f03));
    records.emplace_back("F04", 5, RecordLayout::Texts(10));
    records.emplace_back("F05", 6, RecordLayout::Texts(10));
    return records;
}

#include "hostfw/ctrlpoint/ControlPointSiblingRecords.h"

#include <mutex>

#include "hostfw/RecordLayout.h"

namespace {

using K = FieldKind;

const RecordSet& Strict(WORD program)
{
    static const RecordSet s628(628, {RecordLayout("F", 0, {K::Short}), RecordLayout("R2", 1, {K::Long}, true)});
    static const RecordSet s631(631, {RecordLayout("F", 0, {K::Short}), RecordLayout("R2", 1, {K::Long}, true)});
    return program == 628 ? s628 : s631;
}

std::vector<RecordLayout> HandbookLayouts()
{
    std::vector<RecordLayout> layouts{RecordLayout("KS", 0, {K::Long, K::Double})};
    int typeNo = 1;
    for (const char* set : ctrlsib::kHandbookSets)
        layouts.emplace_back(set, typeNo++, std::vector<K>{K::Long, K::Double, K::Double, K::Double, K::Double}, true);
    return layouts;
}

} // namespace

void ControlPointSiblingRecords::RegisterAll()
{
    static std::once_flag once;
    std::call_once(once, [] {
        static const RecordSet s622(622, {RecordLayout("F", 0, {K::Short}), RecordLayout("R2", 1, {K::Dword}, true)});
        static const RecordSet s625(625, {RecordLayout("F1", 0, {K::Short})});
        static const RecordSet s681(681, HandbookLayouts());
        static const RecordSet s452(452, {RecordLayout("KS", 0, {K::Long}),
                                          RecordLayout("KEISOKU", 1, {K::Long, K::Double, K::Double, K::Double, K::Short},
                                                       true)});
        static const RecordSet s684(684, {RecordLayout("F", 0, {K::Short, K::Long})});
        static const RecordSet s687(687, {RecordLayout("F", 0, {K::Short, K::Long})});
        for (const RecordSet* set : {&Strict(628), &Strict(631), &s622, &s625, &s681, &s452, &s684, &s687})
            RecordSet::Register(set);
    });
}

namespace {
// The sets are known as soon as the host framework is loaded.
const bool kRegistered = (ControlPointSiblingRecords::RegisterAll(), true);
} // namespace

#include "hostfw/levelling/LevellingSiblingRecords.h"

#include <mutex>

#include "hostfw/RecordLayout.h"

void LevellingSiblingRecords::RegisterAll()
{
    static std::once_flag once;
    std::call_once(once, [] {
        using K = FieldKind;
        static const RecordSet s917(917, {RecordLayout("F", 0, {K::Short, K::Short})});
        static const RecordSet s921(921, {RecordLayout("F", 0, {K::Short})});
        static const RecordSet s935(935, {RecordLayout("F", 0, {K::Dword, K::Dword, K::Dword})});
        static const RecordSet s938(938, {RecordLayout("F", 0, {K::Short, K::Short})});
        for (const RecordSet* set : {&s917, &s921, &s935, &s938})
            RecordSet::Register(set);
    });
}

namespace {
// The sets are known as soon as the host framework is loaded.
const bool kRegistered = (LevellingSiblingRecords::RegisterAll(), true);
} // namespace

#include "viewer/files/MakeUniqueGroupName.h"

#include "outside/CModelDataMng.h"

#include <algorithm>
#include <vector>

namespace {

// "tail" read as the number of a label "name N": digits only, no leading zero.
bool LabelNumber(const std::string& tail, long long& value)
{
    if (tail.empty() || tail[0] == '0' || tail.size() > 9) return false;
    if (!std::all_of(tail.begin(), tail.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    value = std::stoll(tail);
    return true;
}

}  // namespace

void MakeUniqueGroupName(std::string name, const CModelDataMng& store, CPCloudMng& group, int excludeLast)
{
    group.m_name = name;
    group.m_nNameNumber = 0;
    int count = store.GetGroupCount();
    if (excludeLast != 0 && count > 0) --count;
    const bool nameHasBlank = name.find(' ') != std::string::npos;
    std::vector<long long> taken;
    for (int i = 0; i < count; ++i) {
        const CPCloudMng* other = store.GetGroup(i);
        if (other == nullptr || other == &group) continue;
        if (other->m_name == name) taken.push_back(other->m_nNameNumber);
        if (nameHasBlank && other->m_name + " " + std::to_string(other->m_nNameNumber + 1LL) == name)
            ++group.m_nNameNumber;
        const auto blank = other->m_name.rfind(' ');
        long long v = 0;
        if (blank != std::string::npos && other->m_nNameNumber == 0 && other->m_name.substr(0, blank) == name &&
            LabelNumber(other->m_name.substr(blank + 1), v) && v > 1)
            taken.push_back(v - 1);
    }
    std::sort(taken.begin(), taken.end());
    for (long long t : taken) {
        if (t == group.m_nNameNumber) ++group.m_nNameNumber;
    }
}

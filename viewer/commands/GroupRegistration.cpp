#include "viewer/commands/GroupRegistration.h"

#include "outside/CModelDataMng.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace grouping {

std::string DisplayName(const CPCloudMng& group)
{
    if (group.m_nNameNumber < 1)
        return group.m_name;
    return group.m_name + " " + std::to_string(static_cast<std::int64_t>(group.m_nNameNumber) + 1);
}

std::vector<std::int64_t> ListedGroups(const CModelDataMng& store)
{
    std::vector<std::int64_t> listed;
    for (int i = 0; i < store.GetGroupCount(); ++i) {
        const CPCloudMng* g = store.GetGroup(i);
        if (g != nullptr && (g->GetCloudPointSize() > 0 || g->GetTriangleCount() > 0))
            listed.push_back(i);
    }
    return listed;
}

std::string CutAndTrim(const std::string& text, std::size_t bytes)
{
    std::string cut = tessara::CutToCp932Bytes(text, bytes);
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!cut.empty() && blank(cut.back()))
        cut.pop_back();
    std::size_t start = 0;
    while (start < cut.size() && blank(cut[start]))
        ++start;
    return cut.substr(start);
}

std::string NewNameProblem(const std::string& cutName, const std::vector<std::string>& displayNames)
{
    if (cutName.empty())
        return "新規グループ名を入力してください。";
    if (std::find(displayNames.begin(), displayNames.end(), cutName) != displayNames.end())
        return "\"" + cutName + "\" は既に存在しています。";
    return {};
}

MoveResult MoveSelectedPoints(CModelDataMng& store, std::vector<SelPCloud>& selection, CPCloudMng& target)
{
    MoveResult result;
    std::vector<SelPCloud> entries;
    entries.swap(selection);
    for (const SelPCloud& entry : entries) {
        CPCloudMng* source = store.GetGroup(entry.group);
        if (source == nullptr || !source->IsShownForPoints() || entry.points.empty())
            continue;
        // The points to take, each once, in selection order; read before any is
        // marked, since moving into a source appends to it.
        std::unordered_set<std::uint32_t> seen;
        std::vector<std::uint32_t> take;
        const auto count = static_cast<std::uint32_t>(source->GetCloudPointSize());
        for (std::uint64_t ref : entry.points) {
            const std::uint32_t i = SelPCloud::PointIndex(ref);
            if (i < count && seen.insert(i).second)
                take.push_back(i);
        }
        if (take.empty())
            continue;
        for (std::uint32_t i : take) {
            float x = 0, y = 0, z = 0;
            COLORREF colour = 0;
            double intensity = 0.0;
            if (source->GetCloudPointVal(i, x, y, z, colour, intensity) == 0)
                continue;
            target.AddCloudPoint(x, y, z, colour, intensity);
            ++result.moved;
        }
        for (std::uint32_t i : take)
            source->SetCloudPointNaN(i);
        source->DeleteCloudPointNaN();
        source->CreateGrid();
        result.sources.push_back(entry.group);
    }
    target.CreateGrid();
    return result;
}

} // namespace grouping

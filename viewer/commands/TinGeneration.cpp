#include "viewer/commands/TinGeneration.h"

#include "outside/CModelDataMng.h"
#include "outside/PointFilters.h"

namespace tingen {

namespace {

constexpr std::int64_t kLimitUnit = 10000;
constexpr float kCellStep = 0.1f;

} // namespace

std::int64_t PointLimit(int setting)
{
    return static_cast<std::int64_t>(setting) * kLimitUnit;
}

std::string SelectionOverLimitText(std::int64_t limit)
{
    return "選択点群数が" + std::to_string(limit) + "点以上あるため実行できません\n選択点群の数を減らしてから実行してください。";
}

std::string SamplingQuestionText(std::int64_t limit)
{
    return "点群数が" + std::to_string(limit) +
           "点以上あるため実行できません\nサンプリング等で点群の数を減らしてから実行してください。"
           "\n\n自動で点をサンプリングしTINの生成を実行しますか？";
}

std::string TriangleCountText(std::int64_t triangles)
{
    return "三角数[" + std::to_string(triangles) + "]のTINを作成しました ";
}

std::string CadTinDoneText(std::int64_t triangles, std::int64_t figuresWithoutZ)
{
    std::string text = std::string(kCadDone) + " 三角数[" + std::to_string(triangles) + "]";
    if (figuresWithoutZ > 0)
        text += " 標高のないCAD図形" + std::to_string(figuresWithoutZ) + "個は除外しました";
    return text;
}

std::int64_t CountSelectedShown(const CModelDataMng& store, const std::vector<SelPCloud>& selection)
{
    std::int64_t count = 0;
    for (const SelPCloud& entry : selection) {
        const CPCloudMng* g = store.GetGroup(entry.group);
        if (g != nullptr && g->IsShownForPoints())
            count += static_cast<std::int64_t>(entry.points.size());
    }
    return count;
}

std::vector<SelPCloud> ShownEntries(const CModelDataMng& store, const std::vector<SelPCloud>& selection)
{
    std::vector<SelPCloud> shown;
    for (const SelPCloud& entry : selection) {
        const CPCloudMng* g = store.GetGroup(entry.group);
        if (g != nullptr && g->IsShownForPoints() && !entry.points.empty())
            shown.push_back(entry);
    }
    return shown;
}

ShownGroups CountShownGroups(const CModelDataMng& store)
{
    ShownGroups shown;
    for (int i = 0; i < store.GetGroupCount(); ++i) {
        const CPCloudMng* g = store.GetGroup(i);
        if (g == nullptr)
            continue;
        const bool points = g->IsShownForPoints();
        if (points || (g->IsShowGroup() != 0 && g->IsShowTin() != 0))
            ++shown.count;
        if (points)
            shown.lastWithPoints = i;
    }
    return shown;
}

std::vector<Candidate> WholeCloudCandidates(const CModelDataMng& store)
{
    std::vector<Candidate> candidates;
    for (int i = 0; i < store.GetGroupCount(); ++i) {
        const Candidate c{i, 0, false};
        if (StillCandidate(store, c))
            candidates.push_back({i, store.GetGroup(i)->GetCloudPointSize(), false});
    }
    return candidates;
}

bool StillCandidate(const CModelDataMng& store, const Candidate& candidate)
{
    const CPCloudMng* g = store.GetGroup(candidate.group);
    return g != nullptr && g->GetCloudPointSize() > 0 && g->m_nDataFlag != 0 && g->IsShownForPoints();
}

std::int64_t SampleGroupDownTo(CPCloudMng& group, std::int64_t limit)
{
    float cell = kCellStep;
    std::int64_t n = group.GetCloudPointSize();
    std::vector<std::uint8_t> keep;
    for (int step = 0; step < kSamplingSteps && n > limit; ++step) {
        if (PointFilters::Grid(group, cell, cell, cell, PointFilters::GridPick::First, keep, {})) {
            group.CompactCloudPoints(keep);
            group.CreateGrid();
        }
        n = group.GetCloudPointSize();
        cell += kCellStep;
    }
    return n;
}

} // namespace tingen

#pragma once

// The rules of TIN generation from point clouds: the point limits, which groups
// and selected points take part, and the automatic grid sampling of a cloud too
// large to mesh. The caller holds the view lock while these read the store.

#include "outside/SelPCloud.h"

#include <cstdint>
#include <string>
#include <vector>

class CModelDataMng;
class CPCloudMng;

namespace tingen {

inline constexpr std::int64_t kHardCap = 1000000;
inline constexpr int kSamplingSteps = 50;

inline constexpr const char* kSelectionCaption = "選択状態の点群からTINを作成します 処理を実行しますか？";
inline constexpr const char* kWholeCaption = "点群からTINを作成します 処理を実行しますか？";
inline constexpr const char* kOverHardCap =
    "点群数が100万点以上ある為実行できません\nサンプリング等で点群の数を減らしてから実行してください。";
inline constexpr const char* kMergeQuestion =
    "表示中の点群グループを1つにまとめます。\nこの処理結果を元に戻すことは出来ません。\n編集履歴の内容も全てクリアされます。"
    "\n\n処理を実行してよろしいですか？";
inline constexpr const char* kMergeWarning =
    "点群グループの構成は破棄されます\n実行前にデータ保存することを推奨します\n\n処理を実行してよろしいですか？";
inline constexpr const char* kSamplingFailed = "点群数のサンプリング制限を超えました\n\n処理を中止します";
inline constexpr const char* kRemapping = "既存TINデータを更新中・・・しばらくお待ちください";
inline constexpr const char* kComputing = "TINを計算中・・・しばらくお待ちください";
inline constexpr const char* kDone = "処理完了（TIN生成）";

inline constexpr const char* kCadCaption = "CAD図形からTINを作成します 処理を実行しますか？";
inline constexpr const char* kCadRunning = "TIN生成中・・・しばらくお待ちください";
inline constexpr const char* kCadDone = "処理を終了しました（TIN生成）";
inline constexpr const char* kCadNothing =
    "標高を持つCAD図形からTINを作成できませんでした。\n表示中のCAD図形に、同一直線上にない標高付きの点が3点以上必要です。";

// The settings' limit in points (the setting counts 10,000s).
std::int64_t PointLimit(int setting);
// "選択点群数が%d点以上あるため実行できません" with the limit, and its advice.
std::string SelectionOverLimitText(std::int64_t limit);
// The sampling question for a cloud above the limit.
std::string SamplingQuestionText(std::int64_t limit);
// "三角数[%d]のTINを作成しました " with the triangle count.
std::string TriangleCountText(std::int64_t triangles);

// The CAD TIN's closing status: the done text with the triangles made and the
// shown figures left out for want of elevations.
std::string CadTinDoneText(std::int64_t triangles, std::int64_t figuresWithoutZ);

// Selected points of groups shown with their points.
std::int64_t CountSelectedShown(const CModelDataMng& store, const std::vector<SelPCloud>& selection);
// The entries of groups shown with their points (the others take no part).
std::vector<SelPCloud> ShownEntries(const CModelDataMng& store, const std::vector<SelPCloud>& selection);

struct ShownGroups {
    int count = 0;                 // shown for points, or shown with their TIN
    std::int64_t lastWithPoints = 0;  // the last group shown for points (0 when none)
};
ShownGroups CountShownGroups(const CModelDataMng& store);

// A group the whole-cloud mode meshes: present, holding points with its data flag
// set, shown with its points.
struct Candidate {
    std::int64_t group = 0;
    std::int64_t points = 0;
    bool sample = false;  // thinned first (the user agreed)
};
std::vector<Candidate> WholeCloudCandidates(const CModelDataMng& store);
// True while the group at `index` is still the candidate it was.
bool StillCandidate(const CModelDataMng& store, const Candidate& candidate);

// Thins one group by grid sampling with cells of 0.1, 0.2, ... (at most 50
// tries) until it holds no more than `limit` points; the other groups are left
// alone. Returns the points left.
std::int64_t SampleGroupDownTo(CPCloudMng& group, std::int64_t limit);

} // namespace tingen

#pragma once

#include "outside/SelPCloud.h"

#include <cstdint>
#include <optional>
#include <vector>

class CModelDataMng;

// The store side of the view's deletions: selected points, selected CAD figures,
// an elevation range and everything shown. Nothing here locks; the view holds its
// mutex around each call.
namespace deletion {

// The ordered elevation range: lo <= hi, a bound of exactly 1e-16 (unset) counts as
// 0 once ordered. None when a bound is not a number.
struct Range {
    double lo = 0.0;
    double hi = 0.0;
};
std::optional<Range> OrderBounds(double bound1, double bound2);

// References of the selection that name existing points of groups shown with
// their points (0 when the root is hidden).
std::int64_t CountShownSelectedPoints(const CModelDataMng& store, const std::vector<SelPCloud>& selection);
// Deletes those points and regrids their groups; references out of range, of
// missing or hidden groups are skipped. Returns the indices of the groups changed.
std::vector<std::int64_t> DeleteSelectedPoints(CModelDataMng& store, const std::vector<SelPCloud>& selection);

// Selected figures on a shown layer (each figure once; indices out of range skipped;
// 0 when the root or the CAD group is hidden).
std::int64_t CountSelectedCadOnShownLayers(const CModelDataMng& store, const std::vector<std::int64_t>& selected);
// Erases them, each once whatever the selection's order and repeats. Returns the
// number erased.
std::int64_t DeleteSelectedCadFigures(CModelDataMng& store, const std::vector<std::int64_t>& selected);

// Deletes the points of shown groups inside (outside false) or outside the range.
// A point without a number for its height is never deleted. Returns the indices
// of the groups changed or compacted.
std::vector<std::int64_t> DeleteByElevation(CModelDataMng& store, const Range& range, bool outside);

// True when something the user could show is hidden: a group or its points or TIN,
// a section, the view cloud's points or TIN, or a present CAD layer.
bool AnythingHidden(const CModelDataMng& store);

// Deletes everything shown but the 3D structures: the shown groups' points and
// TINs, figures on shown layers, the CAD TIN, the part figure and the view cloud as
// their show flags say. Nothing happens when the root is hidden.
void DeleteAllShown(CModelDataMng& store);

inline constexpr const char* kNothingSelected = "図形が選択されていません";
inline constexpr const char* kAskPoints = "選択されている点群を削除します";
inline constexpr const char* kAskFigures = "選択されている図形を削除します";
inline constexpr const char* kAskOutside = "指定標高範囲外の図形を削除します";
inline constexpr const char* kAskInside = "指定標高範囲内の図形を削除します";
inline constexpr const char* kDeleting = "削除を行っています・・しばらくお待ちください";
inline constexpr const char* kDonePoints = "処理完了（選択図形の削除）";
inline constexpr const char* kDoneFigures = "処理完了（削除）";
inline constexpr const char* kDoneRange = "処理完了（指定範囲削除）";
inline constexpr const char* kAllShownFirst =
    "グループ一覧の設定で表示Onとなっている全ての図形を削除します。\nこの処理結果を元に戻すことは出来ませんのでご注意ください。"
    "\nまた、編集履歴の内容も全てクリアされます。\n\n処理を実行してよろしいですか？";
inline constexpr const char* kAllDataFirst =
    "全てのデータを削除します。\nこの処理結果を元に戻すことは出来ませんのでご注意ください。"
    "\nまた、編集履歴の内容も全てクリアされます。\n\n処理を実行してよろしいですか？";
inline constexpr const char* kAllSecond =
    "編集内容は全て破棄されます\n実行前にデータ保存することを推奨します\n\n処理を実行してよろしいですか？";
inline constexpr const char* kWait = "しばらくお待ちください";
inline constexpr const char* kDoneAll = "処理完了（全て削除）";

} // namespace deletion

#pragma once

#include "outside/OutsideTypes.h"

#include <array>
#include <cstdint>
#include <vector>

class CModelDataMng;
struct ViewSettings;

// The five point filters of the view (grid, lowest and highest point per cell,
// radius, outliers) apart from the window: which store filter runs with which
// settings, and what the view tidies afterwards.
namespace sampling {

enum class Filter { Grid, GridMinZ, GridMaxZ, Radius, Outlier };

// The settings one run passes to the store, already as the store takes them.
struct Params {
    Filter filter = Filter::Grid;
    std::array<float, 3> cell{0.5f, 0.5f, 0.5f};
    float radius = 0.8f;
    int minimumPoints = 2;
    int neighbourCount = 50;
    float deviation = 1.0f;

    static Params FromSettings(const ViewSettings& settings, Filter filter);
};

// Runs the store's filter: 1 when it ran, 0 for bad settings or when stopped
// (the groups are then as they were). Only groups shown with their points are
// thinned; every other group is left alone.
int RunStoreFilter(CModelDataMng& store, const Params& params, const OutsideProgressFn& progress = {});

// Gives every group from index `before` on (those the run created) a name of its
// own, an empty memo and the default colour of its index; groups that were there
// before keep name, memo and colour. Nothing happens with a single group.
void NameCreatedGroups(CModelDataMng& store, int before);

inline constexpr const char* kFirstQuestion =
    "\nこの処理結果を元に戻すことは出来ません。\n編集履歴の内容も全てクリアされます。\n\n処理を実行してよろしいですか？";
inline constexpr const char* kSecondQuestion =
    "サンプリングを実行します\n事前に点群を複製しておくことを推奨します\n\n処理を実行してよろしいですか？";
inline constexpr const char* kWorking = "サンプリング処理中・・・しばらくお待ちください";
inline constexpr const char* kChooseNext = "処理を選択してください";

} // namespace sampling

#pragma once

// Moving the selected points into a point-cloud group: the texts and checks of
// the group dialog and the move itself, over the store (the caller holds the
// view lock for the move).

#include "outside/OutsideTypes.h"
#include "outside/SelPCloud.h"

#include <cstdint>
#include <string>
#include <vector>

class CModelDataMng;
class CPCloudMng;

namespace grouping {

inline constexpr std::size_t kNameBytes = 260;
inline constexpr std::size_t kMemoBytes = 255;

// "name", or "name n+1" when the group's name number n is positive.
std::string DisplayName(const CPCloudMng& group);

// Groups that hold points or triangles, in store order: the dialog's list.
std::vector<std::int64_t> ListedGroups(const CModelDataMng& store);

// A typed name or memo as stored: cut to `bytes` bytes of CP932 on a character
// boundary, then trimmed of blanks at both ends.
std::string CutAndTrim(const std::string& text, std::size_t bytes);

// The message that refuses a new group name, or "" when the name may be used
// (it is cut and trimmed first; every group's display name counts, listed or not).
std::string NewNameProblem(const std::string& cutName, const std::vector<std::string>& displayNames);

struct MoveResult {
    std::int64_t moved = 0;
    std::vector<std::int64_t> sources;  // groups points were taken from
};

// Moves the selected points of groups shown with their points into `target`
// (added at its end, in selection order) and compacts their sources, whose grids
// are rebuilt, as is the target's. Entries naming a missing group, point indices
// out of range and repeated references are skipped. The selection is emptied.
MoveResult MoveSelectedPoints(CModelDataMng& store, std::vector<SelPCloud>& selection, CPCloudMng& target);

} // namespace grouping

#pragma once

// What ticking or clearing one check box of the group pane does to the store's show
// flags and to the view's display modes. Plain data in and out; the caller holds
// the view lock and sets the listed check boxes with the widget's signals blocked.

#include "viewer/grouppane/GroupTreePlan.h"

#include <cstdint>
#include <vector>

class CModelDataMng;

namespace grouptree {

// The view's state the rules read and change.
struct CheckView {
    int pointColorMode = 0;   // 0 off, 1 by height
    int tinPictureMode = 0;   // 0 off, 4 by height, 2 slope
    bool cadSwitch = false;
    bool partSwitch = false;
    std::vector<std::uint8_t> selectedCadKinds;  // type codes of the selected CAD figures
};

struct CheckOutcome {
    bool applied = false;             // the node's object was found
    std::vector<NodeKey> alsoChecked; // parents whose boxes the pane ticks
    bool clearPicked = false;         // the view's picked list is cleared
    bool clearCadSelection = false;   // the CAD selection is cleared
    bool sceneChanged = false;
};

// A user's click that left the node's box at `checked`.
CheckOutcome ApplyCheck(CModelDataMng& store, const NodeKey& key, bool checked, CheckView& view);

// Show all / hide all: the flag of every node the tree has, root included.
void SetAllFlags(CModelDataMng& store, bool shown);

} // namespace grouptree

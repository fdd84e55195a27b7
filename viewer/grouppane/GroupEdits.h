#pragma once

// The group pane's edits of the store: the name check of the rename and property
// dialogs, the copy of a group and the deletion of a node's data. The caller holds
// the view lock for everything that takes a store.

#include "viewer/grouppane/GroupTreePlan.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CModelDataMng;

namespace grouptree {

inline constexpr std::size_t kGroupNameBytes = 260;
inline constexpr std::size_t kRemarkBytes = 255;
inline constexpr int kCopyNumbers = 99;

struct NameCheck {
    std::string name;     // the typed text as it would be stored (cut, trimmed)
    std::string problem;  // the message refusing it, "" when it may be used
};

// Checks a typed group name against the display names of the other groups.
NameCheck CheckNameAmong(const std::string& typed, const std::vector<std::string>& otherDisplayNames);
// The display names of every group with data but the one with id `self`.
std::vector<std::string> OtherDisplayNames(const CModelDataMng& store, std::uint64_t self);
// Checks a typed group name for the group with id `self` against the display names
// of every other group.
NameCheck CheckGroupName(const CModelDataMng& store, std::uint64_t self, const std::string& typed);

// True when two names are equal with ASCII letters compared without case.
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

// The name of a copy of a group named `base`: "base(n)" for the first n of 1..99
// that no group's stored name takes (case-blind), the base cut on a character
// boundary so that the whole fits the name's bytes; none when all 99 are taken.
std::optional<std::string> CopyName(const CModelDataMng& store, const std::string& base);

// Copies the group at position i right after it and hides the source: returns the
// copy's position, or -1 (no such group, no free name or no points).
std::int64_t CopyCloudGroup(CModelDataMng& store, std::int64_t i);

// Undo snapshot content flags of deleting a node; none for a node without data.
std::optional<std::uint16_t> DeleteSnapshotFlags(NodeKind kind);

// What the view must do after the store work of a deletion.
struct DeleteWork {
    bool done = false;                // the node's object was found and emptied
    bool releaseAllBuffers = false;   // buffers of the emptied data are released
    bool rebuildPickCache = false;
    bool clearPickBuckets = false;
    bool clearSelection = false;      // the CAD selection (figures removed)
};

// The store side of deleting the node's data (the tree rebuild removes the nodes).
DeleteWork DeleteNodeData(CModelDataMng& store, const NodeKey& key);

} // namespace grouptree

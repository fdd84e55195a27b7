#pragma once

// The group pane's tree as plain data: which nodes the scene calls for, their
// texts, images and check states, read from the store (the caller holds the view
// lock). The pane turns a plan into widget items; nodes are named by keys, never
// by widget pointers, and a key is looked up in the store again before use.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CModelDataMng;
class CPCloudMng;

namespace grouptree {

enum class NodeKind {
    Root,
    Group,
    GroupPoints,
    GroupTin,
    CadRoot,
    CadType,
    CadTin,
    FeatureRoot,
    FeatureKind,
    PartRoot,
    PartPoints,
    PartLines,
    CloudRoot,
    CloudPoints,
    CloudTin,
};

// A node: its kind, the group's id (groups only) and the slot (CAD type slot or
// feature kind).
struct NodeKey {
    NodeKind kind = NodeKind::Root;
    std::uint64_t group = 0;
    int slot = 0;
    bool operator==(const NodeKey&) const = default;
};

// Tree images, by index in the pane's image strip.
enum Image { kImageRoot = 0, kImageSection = 1, kImagePoints = 2, kImageLines = 3, kImageTin = 4, kImageCadType = 5, kImageGroup = 6 };

struct PlanNode {
    NodeKey key;
    NodeKey parent;  // the root's parent is itself
    std::string text;
    int image = 0;
    bool checked = true;
    bool bold = false;
};

inline constexpr const char* kUnnamedGroup = "SurfLook";

// The neutral id of a group, given on first use and kept with the group for its
// life (never 0).
std::uint64_t GroupId(CPCloudMng& group);
// The id, or 0 while the group has none.
std::uint64_t PeekGroupId(const CPCloudMng& group);
// The list position of the group with that id, or -1 when it is gone.
std::int64_t FindGroup(const CModelDataMng& store, std::uint64_t id);

// Name of a CAD element type code; "" for a code not in the table.
std::string GetCadTypeName(int code);

// Triangles of one 3D-feature kind (0 buildings .. 6 chimneys), over all its stores.
std::int64_t FeatureTriangles(const CModelDataMng& store, int kind);

// Brings the store's tree state up to date and returns the nodes in tree order
// (parents before children, siblings in order). Emptied groups lose their names and
// have their flags reset to 1, as do sections without data; an unnamed group with
// data is named "SurfLook" with the lowest number that repeats no other group's
// display name, a number it then keeps.
std::vector<PlanNode> PlanTree(CModelDataMng& store);

// The show flag behind a node, or null when the node's object is gone.
std::int32_t* ShowFlag(CModelDataMng& store, const NodeKey& key);

} // namespace grouptree

#pragma once

#include "outside/CElmData.h"
#include "outside/CPCloudMng.h"
#include "outside/CVertexMng.h"
#include "outside/OutsideTypes.h"
#include "outside/PT.h"
#include "outside/SelPCloud.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The scene's data: point-cloud groups, the view cloud, CAD figures with their CAD
// layers and CAD TIN, the part drawing, the 3D-structure TIN stores, the show
// flags of every section, and the user <-> model coordinate relation. The view owns
// one and guards it with its mutex; nothing here locks.
class XTinOption;

class CModelDataMng {
public:
    static constexpr int kCadLayerCount = 24;
    static constexpr int kStructureSlotCount = 12;   // 6 building sets, then 6 kinds
    static constexpr int kStructureStoreCount = 24;  // first stores 0..11, second 12..23

    // Structure kinds in their display order.
    enum StructureKind { kBuild, kRoadBridge, kLighting, kUtilityPole, kHighTower, kRailRoad, kChimney, kStructureKindCount };

    // One CAD layer: present once a figure of its id was registered.
    struct CadLayer {
        bool present = false;
        std::int32_t show = 1;
        std::uint8_t id = 0;
    };

    // One part-drawing line: two vertex indices of its line-vertex store, then the
    // host's value (drawn as the line colour).
    struct PartLine {
        std::int32_t v1 = 0;
        std::int32_t v2 = 0;
        std::uint32_t value = 0;
    };

    CModelDataMng();
    ~CModelDataMng();
    CModelDataMng(const CModelDataMng&) = delete;
    CModelDataMng& operator=(const CModelDataMng&) = delete;

    // --- coordinates ---------------------------------------------------------
    // Model = user - centre, per axis (z independently of x and y). The centre is
    // whole metres, so with a centre within +-2^20 m the two conversions undo each
    // other exactly for float coordinates (as the store holds them) of at least
    // 1/512 m in magnitude, and for 0. Non-finite values stay non-finite.
    void UserToModel(PT& pt) const;
    void ModelToUser(PT& pt) const;
    // Sets the centre from the reference point and the lowest elevation (each
    // rounded to whole metres; 1e-16 or non-finite counts as 0).
    void SetRenderingCenterPt(const PT& pt);
    const PT& GetRenderingCenterPt() const { return m_center; }

    // --- show queries (non-zero when shown) ------------------------------------
    int IsShowRootGroup() const { return m_nShowRoot; }
    int IsShowCADGroup() const { return m_nShowCAD; }
    int IsShowCADTin() const { return m_nShowCADTin; }
    int IsShow3DStructureGroup() const { return m_nShow3DStructure; }
    int IsShowPartGroup() const { return m_nShowPart; }
    int IsShowPartLn() const { return m_nShowPartLn; }
    int IsShowPartPt() const { return m_nShowPartPt; }
    int IsShowBuildTin() const { return m_nShowStructure[kBuild]; }
    int IsShowRoadBridgeTin() const { return m_nShowStructure[kRoadBridge]; }
    int IsShowLightingTin() const { return m_nShowStructure[kLighting]; }
    int IsShowUtilityPoleTin() const { return m_nShowStructure[kUtilityPole]; }
    int IsShowHighTowerTin() const { return m_nShowStructure[kHighTower]; }
    int IsShowRailRoadTin() const { return m_nShowStructure[kRailRoad]; }
    int IsShowChimneyTin() const { return m_nShowStructure[kChimney]; }
    // Non-zero when the root is shown and a group shown with its points holds points.
    int IsExistToShowPCloud() const;

    // --- groups -------------------------------------------------------------------
    int GetGroupCount() const { return static_cast<int>(m_groups.size()); }
    // The group at i, or null (out of range or an empty slot).
    CPCloudMng* GetGroup(std::int64_t i) const;
    // Appends a group (taking ownership); returns its index.
    int AddGroup(std::unique_ptr<CPCloudMng> group);
    // Inserts a group at position i (clamped to the list); returns its index.
    int InsertGroup(std::int64_t i, std::unique_ptr<CPCloudMng> group);
    // Default colour of a new group after n groups: deterministic, never 0.
    static COLORREF GetDefPointCloudGroupCol(std::uint16_t n);

    // --- filters (every group shown with its points, each group on its own) ----------
    // Each returns 1 when it ran, 0 for invalid parameters or when cancelled (the
    // groups are then as they were). Groups are compacted in place and their bounds
    // recomputed; their grids must be rebuilt by the caller (CreateGrid).
    // Grid: one point per cell of lx x ly x lz, the first one met, so colours and
    // intensities stay original.
    int FilterPointGridFilter(float lx, float ly, float lz, const OutsideProgressFn& progress = {});
    // As above, keeping the lowest / highest point of each cell.
    int FilterPointGridFilter_GridMinZ(float lx, float ly, float lz, const OutsideProgressFn& progress = {});
    int FilterPointGridFilter_GridMaxZ(float lx, float ly, float lz, const OutsideProgressFn& progress = {});
    // Keeps a point with at least minPoints other points within radius (3D).
    int FilterPointRadius(float radius, int minPoints, const OutsideProgressFn& progress = {});
    // Statistical outlier removal: mean distance of each point to its k nearest
    // neighbours; keeps points whose mean is within mean + factor x sample
    // deviation of all means.
    int FilterPointOutlierRemoval(int k, float deviationFactor, const OutsideProgressFn& progress = {});

    // --- merging and meshing ------------------------------------------------------
    // Merges the groups shown with their points into one new group appended to the
    // list (name and colour of the first of them; TINs dropped) and removes them.
    // Selection entries of merged groups are re-pointed to the new group, their
    // point indices offset; entries of removed groups are dropped. Returns the
    // number of groups merged (nothing happens below 2 unless mode is 1 and there
    // is exactly one shown group, which is then moved to the end).
    int AllPointMerge(int mode, std::vector<SelPCloud>& selection);
    // Builds the target group's TIN from its selected points (entries of that
    // group; bad indices skipped), replacing the TIN it had; stopped or out of
    // memory, the old TIN stays. Returns the triangle count.
    int GenerateMesh(const std::vector<SelPCloud>& selection, std::int64_t target,
                     const XTinOption* option = nullptr, const OutsideProgressFn& progress = {});
    // The CAD TIN's makings: the figures shown (root, CAD section and their layer
    // shown) that have points with elevations, the shown figures without any, and
    // the points with elevations they give.
    struct CadTinInput {
        std::int64_t figuresUsed = 0;
        std::int64_t figuresWithoutZ = 0;
        std::int64_t vertices = 0;
        bool spansArea = false;  // not all on one line in plan: a TIN can be made
    };
    CadTinInput CountCadTinInput() const;
    // Builds the CAD TIN from the shown figures: their points with elevations are
    // its vertices and, with the break-line switch on, the lines between two such
    // points of a figure constrain it (split every splitPitch metres when that is
    // above 0). Figures without elevations take no part. Replaces the CAD TIN only
    // when at least one triangle results; otherwise (or stopped) the old one stays.
    // Returns the triangles made, 0 when the old TIN stayed.
    int GenerateCadTin(const XTinOption* option, double splitPitch = 0.0, const OutsideProgressFn& progress = {});
    // Re-indexes every stored TIN: drops triangles with a bad or repeated corner,
    // merges vertices at the same position, drops unused vertices, keeps the order
    // of what remains and rebuilds the vertex chunks. Returns the vertices dropped.
    int ReMapTinData();

    // --- CAD layers -----------------------------------------------------------------
    // Registers a layer for every figure kind not yet present (up to 24, in figure
    // order); existing layers keep their show flags.
    void RebuildCadLayers();
    // Layer record index of a layer id, or -1.
    int FindCadLayer(std::uint8_t id) const;
    // True when the figure's layer is registered, present and shown (flag 1).
    bool IsOnShownCadLayer(const CElmData& elm) const;

    // --- clearing -------------------------------------------------------------------
    void ClearGroups();
    void ClearCadFigures();
    void ClearPartDrawing();
    void ClearStructures();

    // --- data (read and written directly by the viewer) -------------------------------
    std::vector<std::unique_ptr<CPCloudMng>> m_groups;
    CPCloudMng m_viewCloud;
    std::vector<CElmData> m_elmList;
    std::string m_cadName;                                  // UTF-8
    std::array<CadLayer, kCadLayerCount> m_cadLayers{};
    std::map<std::uint8_t, int> m_cadLayerIndex;            // layer id -> record
    CPCloudMng m_cadTin;
    // Part drawing: points with and without elevation (z 1e-7), its vertices, the
    // vertices of the lines with and without elevation, and the two line lists.
    CPCloudMng m_partPoint3D;
    CPCloudMng m_partPoint2D;
    CVertexMng m_partVertex;
    CVertexMng m_partLineVertex3D;
    CVertexMng m_partLineVertex2D;
    std::vector<PartLine> m_partLine3D;
    std::vector<PartLine> m_partLine2D;
    // 3D structures: store s (0..11) of slot s is first, store 12 + s its second.
    std::array<CVertexMng, kStructureStoreCount> m_structure;

    std::int32_t m_nShowRoot = 1;
    std::int32_t m_nShowCAD = 1;
    std::int32_t m_nShowCADTin = 1;
    std::int32_t m_nShowPart = 1;
    std::int32_t m_nShowPartLn = 1;
    std::int32_t m_nShowPartPt = 1;
    std::int32_t m_nShow3DStructure = 1;
    std::int32_t m_n3DStructureSwitch2 = 1;
    std::array<std::int32_t, kStructureKindCount> m_nShowStructure{1, 1, 1, 1, 1, 1, 1};

private:
    int MeshFromSelection(const std::vector<SelPCloud>& selection, CPCloudMng& group, std::int64_t target,
                          const XTinOption* option, const OutsideProgressFn& progress);
    template <class KeepFn>
    int FilterShownGroups(KeepFn&& computeKeep, const OutsideProgressFn& progress);
    template <class KeepFn>
    bool ComputeKeeps(KeepFn& computeKeep, const OutsideProgressFn& progress, std::vector<CPCloudMng*>& groups,
                      std::vector<std::vector<std::uint8_t>>& keeps);

    PT m_center{0.0, 0.0, 0.0};
};

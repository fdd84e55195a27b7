#pragma once

#include "outside/LN.h"
#include "outside/MTRX.h"
#include "outside/POLY.h"
#include "outside/PT.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CModelDataMng;
class CVertexMng;

// One record of a cross-section profile: a point in section coordinates, its
// station (plan distance from the section's start) and what it is.
struct SectionRecord {
    enum Kind { kEndPoint = 0, kPointHit = 1, kTinCrossing = 2 };
    PT point;
    double station = 0.0;
    int kind = kEndPoint;
};

// What the cross-section takes in ("psKeyTargetTin", "psKeyTargetPoint",
// "psKeyOfset", "psKeyPrevDistance").
struct SectionSettings {
    bool throughTins = true;
    bool throughPoints = true;
    double corridorHalfWidth = 0.2;
    double minSpacing = 0.3;
};

// The three coordinate frames of a cross-section. The store holds user
// coordinates; section coordinates are user coordinates with the inverse of the
// view's user-coordinate matrix applied to x and y; the scene is drawn in model
// coordinates (user minus the rendering centre). Label sizes and sheet margins of
// one unit pass through the length scale of both view matrices.
class SectionSpace {
public:
    SectionSpace() = default;
    SectionSpace(const MTRX& userMatrix, const MTRX& secondMatrix, const PT& centre);

    PT FromUser(const PT& user) const;
    PT ToUser(const PT& section) const;
    PT ToModel(const PT& section) const;
    //! A length of 1 through both matrices' distance conversion.
    double Unit() const { return m_unit; }
    const MTRX& UserMatrix() const { return m_user; }

private:
    MTRX m_user;
    MTRX m_inverse;
    PT m_centre{0.0, 0.0, 0.0};
    double m_unit = 1.0;
};

// Writes label text as strokes in font units (x along the text, y up), each
// label from the origin. Answers the number of characters written; a missing
// font writes no strokes.
class SectionLabelFont {
public:
    virtual ~SectionLabelFont() = default;
    virtual int Write(const std::string& text, std::vector<LN>& strokes) = 0;
};

// The built cross-section, ready to draw: everything in model coordinates.
struct SectionSheet {
    double length = 0.0;
    double leftHeight = 1e-16;        // 1e-16: not set (no hits)
    double rightHeight = 1e-16;
    std::vector<LN> segments;         // frame, grids, ticks, label strokes
    std::vector<PT> pointHits;
    std::vector<PT> tinHits;
    std::vector<PT> profile;          // the polyline
    std::array<PT, 3> anchors{};      // hints: length, left height, right height
    std::vector<SectionRecord> records;   // the profile in section coordinates
    double zmin = 0.0;
    double zmax = 0.0;
    bool stationGrid = false;         // false when left out for too many steps
    bool elevationGrid = false;
    int labels = 0;                   // labels written (with or without strokes)
    std::vector<std::array<PT, 4>> labelBoxes;   // corners of each written label
};

// Builds the elevation profile along a picked line and the sheet that stands on
// it: point-cloud hits in a corridor around the line, crossings with every shown
// TIN, then the frame, grid lines every 5 units, ticks and labels. Plain code over
// the store; the caller holds the view lock.
class CrossSection {
public:
    //! Grid steps on one axis above which that axis's grid and labels are left out.
    static constexpr std::int64_t kMaxGridSteps = 10000;
    static constexpr double kGridStep = 5.0;
    static constexpr double kLabelSize = 0.5;

    //! The sheet between two picked points (model coordinates); nothing when the
    //! two share their plan position or a coordinate is not finite.
    static std::optional<SectionSheet> Build(const CModelDataMng& store, const SectionSpace& space,
                                             const PT& firstModel, const PT& secondModel,
                                             const SectionSettings& settings, SectionLabelFont* font);

    //! Points of the shown clouds inside the polygons (section coordinates); counts
    //! gets the number taken per group. True when at least one point was taken.
    static bool CollectPointsInPolygons(const CModelDataMng& store, const SectionSpace& space,
                                        const std::vector<POLY>& polygons, std::vector<std::int64_t>& counts,
                                        std::vector<PT>& points);
    //! The TINs shown: the groups' (group and TIN shown), the CAD TIN (CAD group
    //! and CAD TIN shown) and the view cloud's (group and TIN shown).
    static std::vector<const CVertexMng*> ShownTins(const CModelDataMng& store);
    //! Appends the crossings of first -> second (section coordinates) with the
    //! edges of one TIN, whose vertices are mapped into section coordinates.
    static void AddTinSectionCrossings(const SectionRecord& first, const SectionRecord& second, const CVertexMng& tin,
                                       const SectionSpace& space, std::vector<SectionRecord>& profile);
    static bool CompareSectionStation(const SectionRecord& a, const SectionRecord& b)
    {
        return a.station < b.station;
    }
    //! Drops hits closer in station than minSpacing to the record kept before them;
    //! the record just before the last stays.
    static void ThinProfile(std::vector<SectionRecord>& profile, double minSpacing);
    //! Frame, grids, ticks, labels and anchors over a sorted, thinned profile whose
    //! first two ends are p0 and p1 (section coordinates).
    static SectionSheet BuildSheet(std::vector<SectionRecord> profile, const PT& p0, const PT& p1,
                                   const SectionSpace& space, SectionLabelFont* font);
    //! The "%.1lf" text of a label, in the C locale.
    static std::string LabelText(double value);
};

#include "viewer/commands/CrossSection.h"

#include "outside/CModelDataMng.h"
#include "outside/GeoFunc.h"
#include "outside/RECTX.h"
#include "outside/StoreMarkers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// A height the store marks as missing (1e-16 as double or float, the vertices'
// 1e-7) or that is not a number: such a hit has no height to draw.
bool HasHeight(double z)
{
    return std::isfinite(z) && !IsUnsetValue(z) && !IsNoElevation(z);
}

POLY BoxPolygon(double minX, double minY, double maxX, double maxY)
{
    POLY poly(5);
    RECTX(minX, minY, maxX, maxY).GetPlygn(&poly);
    return poly;
}

// A box wholly inside the polygon: no edge crosses it and both corners are in.
bool BoxInside(const POLY& polygon, double minX, double minY, double maxX, double maxY)
{
    const POLY box = BoxPolygon(minX, minY, maxX, maxY);
    return GetCrossCnt(box, polygon) == 0 && PtInPolygon(polygon, PT(minX, minY)) != 0 &&
           PtInPolygon(polygon, PT(maxX, maxY)) != 0;
}

// A box that shares no point with the polygon: no edge crosses it, no corner of
// it is inside, and the polygon does not lie within it.
bool BoxMisses(const POLY& polygon, double minX, double minY, double maxX, double maxY)
{
    const POLY box = BoxPolygon(minX, minY, maxX, maxY);
    return GetCrossCnt(box, polygon) == 0 && PtInPolygon(polygon, PT(minX, minY)) == 0 &&
           !RECTX(minX, minY, maxX, maxY).Contains(polygon[0].x(), polygon[0].y());
}

// Steps first, first + 1, ... last of an axis, or none when there are too many (or
// the bounds are not numbers): the count is worked out before any step is made.
// Steps are counted, not added up, so a far-off first value cannot stall them.
struct StepRange {
    double first = 0.0;
    std::int64_t count = 0;
    bool drawn = false;
    double operator[](std::int64_t i) const { return first + static_cast<double>(i); }
};

StepRange Steps(double first, double last)
{
    StepRange range;
    const double count = last - first + 1.0;
    if (!std::isfinite(first) || !std::isfinite(last) || !(count <= static_cast<double>(CrossSection::kMaxGridSteps)))
        return range;
    range.drawn = true;
    range.first = first;
    range.count = count >= 1.0 ? static_cast<std::int64_t>(count) : 0;
    return range;
}

// The sheet under construction: points along the section in section coordinates,
// appended to the sheet in model coordinates.
class SheetWriter {
public:
    SheetWriter(SectionSheet& sheet, const SectionSpace& space, const PT& p0, const PT& p1, SectionLabelFont* font)
        : m_sheet(sheet), m_space(space), m_p0(p0), m_font(font)
    {
        const double length = p0.Length2D(p1);
        m_dx = (p1.x() - p0.x()) / length;
        m_dy = (p1.y() - p0.y()) / length;
    }

    PT At(double station, double z) const { return PT(m_p0.x() + m_dx * station, m_p0.y() + m_dy * station, z); }
    void Line(double s0, double z0, double s1, double z1)
    {
        m_sheet.segments.emplace_back(m_space.ToModel(At(s0, z0)), m_space.ToModel(At(s1, z1)));
    }
    PT ModelAt(double station, double z) const { return m_space.ToModel(At(station, z)); }

    // Writes a label; place(width) answers the station where it starts. Its
    // strokes stand at base + (gy + drop) in height. Answers the label's width.
    template <class Place>
    double Label(double value, double base, double drop, Place&& place)
    {
        m_strokes.clear();
        const int characters = m_font != nullptr ? m_font->Write(CrossSection::LabelText(value), m_strokes) : 0;
        const double unit = m_space.Unit();
        const double width = std::max(characters, 0) * CrossSection::kLabelSize * 0.5 * unit;
        const double start = place(width);
        double low = std::numeric_limits<double>::infinity();
        double high = -low;
        double left = low;
        double right = -low;
        for (const LN& stroke : m_strokes) {
            Line(start + stroke.Pt1.x() * unit, base + (stroke.Pt1.y() + drop) * unit, start + stroke.Pt2.x() * unit,
                 base + (stroke.Pt2.y() + drop) * unit);
            low = std::min({low, stroke.Pt1.y(), stroke.Pt2.y()});
            high = std::max({high, stroke.Pt1.y(), stroke.Pt2.y()});
            left = std::min({left, stroke.Pt1.x(), stroke.Pt2.x()});
            right = std::max({right, stroke.Pt1.x(), stroke.Pt2.x()});
        }
        if (!m_strokes.empty()) {
            ++m_sheet.labels;
            // The label's box, so hints over the sheet can keep clear of it.
            const double s0 = start + left * unit;
            const double s1 = start + right * unit;
            const double z0 = base + (low + drop) * unit;
            const double z1 = base + (high + drop) * unit;
            m_sheet.labelBoxes.push_back({ModelAt(s0, z0), ModelAt(s1, z0), ModelAt(s1, z1), ModelAt(s0, z1)});
        }
        return width;
    }

private:
    SectionSheet& m_sheet;
    const SectionSpace& m_space;
    PT m_p0;
    double m_dx = 1.0;
    double m_dy = 0.0;
    SectionLabelFont* m_font;
    std::vector<LN> m_strokes;
};

}  // namespace

SectionSpace::SectionSpace(const MTRX& userMatrix, const MTRX& secondMatrix, const PT& centre)
    : m_user(userMatrix), m_inverse(~userMatrix), m_centre(centre)
{
    m_unit = secondMatrix.D(userMatrix.D(1.0));
    if (!std::isfinite(m_unit) || m_unit <= 0.0)
        m_unit = 1.0;
}

PT SectionSpace::FromUser(const PT& user) const
{
    PT p = user;
    m_inverse.XY(p);
    return p;
}

PT SectionSpace::ToUser(const PT& section) const
{
    PT p = section;
    m_user.XY(p);
    return p;
}

PT SectionSpace::ToModel(const PT& section) const
{
    const PT user = ToUser(section);
    return PT(user.x() - m_centre.x(), user.y() - m_centre.y(), user.z() - m_centre.z());
}

std::string CrossSection::LabelText(double value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string();
}

bool CrossSection::CollectPointsInPolygons(const CModelDataMng& store, const SectionSpace& space,
                                           const std::vector<POLY>& polygons, std::vector<std::int64_t>& counts,
                                           std::vector<PT>& points)
{
    bool taken = false;
    for (const POLY& sectionPolygon : polygons) {
        if (sectionPolygon.GetCount() < 3)
            continue;
        POLY polygon(static_cast<std::uint16_t>(sectionPolygon.GetCount()));
        for (const PT& p : sectionPolygon.Points())
            polygon.Add(space.ToUser(p));
        const RECTX rect = polygon.GetRectPlygn();
        for (int g = 0; g < store.GetGroupCount(); ++g) {
            const CPCloudMng* group = store.GetGroup(g);
            if (group == nullptr || group->m_points.empty() || !group->IsShownForPoints())
                continue;
            const RECTX groupBox(group->GetPCloudMinX(), group->GetPCloudMinY(), group->GetPCloudMaxX(),
                                 group->GetPCloudMaxY());
            if (!groupBox.Overlaps(rect))
                continue;
            std::int64_t count = 0;
            const auto take = [&](std::int64_t i) {
                float x, y, z;
                COLORREF colour;
                double intensity;
                if (group->GetCloudPointVal(i, x, y, z, colour, intensity) == 0)
                    return;
                points.push_back(space.FromUser(PT(x, y, z)));
                ++count;
            };
            if (BoxInside(polygon, groupBox.m_minX, groupBox.m_minY, groupBox.m_maxX, groupBox.m_maxY)) {
                for (std::int64_t i = 0; i < group->GetCloudPointSize(); ++i)
                    take(i);
            } else {
                for (const GridCell& cell : group->m_grid) {
                    if (cell.indices.empty() || !RECTX(cell.minX, cell.minY, cell.maxX, cell.maxY).Overlaps(rect) ||
                        BoxMisses(polygon, cell.minX, cell.minY, cell.maxX, cell.maxY))
                        continue;
                    if (BoxInside(polygon, cell.minX, cell.minY, cell.maxX, cell.maxY)) {
                        for (std::uint32_t i : cell.indices)
                            take(i);
                        continue;
                    }
                    for (std::uint32_t i : cell.indices) {
                        const auto& p = group->m_points[i];
                        if (rect.Contains(p.x, p.y) && PtInPolygon(polygon, PT(p.x, p.y)) == 1)
                            take(i);
                    }
                }
            }
            if (count > 0) {
                counts.push_back(count);
                taken = true;
            }
        }
    }
    return taken;
}

std::vector<const CVertexMng*> CrossSection::ShownTins(const CModelDataMng& store)
{
    std::vector<const CVertexMng*> tins;
    for (int g = 0; g < store.GetGroupCount(); ++g) {
        const CPCloudMng* group = store.GetGroup(g);
        if (group != nullptr && group->IsShowGroup() != 0 && group->IsShowTin() != 0 && group->GetTriangleCount() > 0)
            tins.push_back(group);
    }
    if (store.IsShowCADGroup() != 0 && store.IsShowCADTin() != 0 && store.m_cadTin.GetTriangleCount() > 0)
        tins.push_back(&store.m_cadTin);
    if (store.m_viewCloud.IsShowGroup() != 0 && store.m_viewCloud.IsShowTin() != 0 &&
        store.m_viewCloud.GetTriangleCount() > 0)
        tins.push_back(&store.m_viewCloud);
    return tins;
}

void CrossSection::AddTinSectionCrossings(const SectionRecord& first, const SectionRecord& second,
                                          const CVertexMng& tin, const SectionSpace& space,
                                          std::vector<SectionRecord>& profile)
{
    const LN section(first.point, second.point);
    const double length = first.point.Length2D(second.point);
    if (!(length > kGeoTolerance))
        return;
    const double dx = (second.point.x() - first.point.x()) / length;
    const double dy = (second.point.y() - first.point.y()) / length;
    const double margin = 1e-6 * std::max(1.0, length);
    const bool identity = space.UserMatrix().IsIdentity();
    const std::size_t count = tin.m_vertices.size();
    // Each corner's side of the line and place along it: a triangle wholly on one
    // side, or wholly before or after the segment, cannot cross it. Vertices are
    // read in place, so nothing of a large TIN is copied.
    const auto corner = [&](std::uint32_t i, PT& p, int& side, int& along) {
        const CVertexMng::Vertex& v = tin.m_vertices[i];
        p = identity ? PT(v.x, v.y, v.z) : space.FromUser(PT(v.x, v.y, v.z));
        const double rx = p.x() - first.point.x();
        const double ry = p.y() - first.point.y();
        const double across = dx * ry - dy * rx;
        const double station = dx * rx + dy * ry;
        side = across > margin ? 1 : across < -margin ? -1 : 0;
        along = station < -margin ? -1 : station > length + margin ? 1 : 0;
    };
    for (const CIndexedTriangle& t : tin.m_triangles) {
        // A corner out of range names no vertex of this TIN: leave the triangle out.
        if (t[0] >= count || t[1] >= count || t[2] >= count)
            continue;
        PT c[3];
        int side[3], along[3];
        for (int k = 0; k < 3; ++k)
            corner(t[k], c[k], side[k], along[k]);
        if (side[0] != 0 && side[0] == side[1] && side[0] == side[2])
            continue;
        if (along[0] != 0 && along[0] == along[1] && along[0] == along[2])
            continue;
        for (int k = 0; k < 3; ++k) {
            const PT& a = c[k];
            const PT& b = c[(k + 1) % 3];
            PT crossing(kUnsetDouble, kUnsetDouble, kUnsetDouble);
            const short code = GetCrs(section, LN(a, b), &crossing);
            if (code != kCrsProper && code != kCrsTouch)
                continue;
            if (IsZeroDst(crossing, a) || IsZeroDst(crossing, b))
                continue;
            if (!HasHeight(a.z()) || !HasHeight(b.z()))
                continue;
            if (SetProportionalZ(LN(a, b), crossing) == 0)
                continue;
            profile.push_back({crossing, first.point.Length2D(crossing), SectionRecord::kTinCrossing});
        }
    }
}

void CrossSection::ThinProfile(std::vector<SectionRecord>& profile, double minSpacing)
{
    if (profile.size() < 3 || !(minSpacing > 0.0))
        return;
    std::vector<SectionRecord> kept;
    kept.reserve(profile.size());
    kept.push_back(profile[0]);
    const std::size_t beforeLast = profile.size() - 2;
    for (std::size_t i = 1; i < profile.size(); ++i) {
        const SectionRecord& r = profile[i];
        if (i != beforeLast && r.kind != SectionRecord::kEndPoint &&
            std::fabs(r.station - kept.back().station) < minSpacing)
            continue;
        kept.push_back(r);
    }
    profile = std::move(kept);
}

std::optional<SectionSheet> CrossSection::Build(const CModelDataMng& store, const SectionSpace& space,
                                                const PT& firstModel, const PT& secondModel,
                                                const SectionSettings& settings, SectionLabelFont* font)
{
    PT u0 = firstModel;
    PT u1 = secondModel;
    store.ModelToUser(u0);
    store.ModelToUser(u1);
    const PT p0 = space.FromUser(u0);
    const PT p1 = space.FromUser(u1);
    if (!std::isfinite(p0.x()) || !std::isfinite(p0.y()) || !std::isfinite(p1.x()) || !std::isfinite(p1.y()) ||
        IsZeroDst(p0, p1))
        return std::nullopt;
    const double length = p0.Length2D(p1);
    const LN line(p0, p1);

    std::vector<SectionRecord> profile;
    profile.push_back({p0, 0.0, SectionRecord::kEndPoint});
    profile.push_back({p1, length, SectionRecord::kEndPoint});

    if (settings.throughPoints) {
        const double offset =
            std::isfinite(settings.corridorHalfWidth) ? std::max(settings.corridorHalfWidth, 0.0) : 0.0;
        const LN minus = line - offset;
        const LN plus = line + offset;
        POLY corridor(4);
        corridor.Add(minus.Pt1);
        corridor.Add(minus.Pt2);
        corridor.Add(plus.Pt2);
        corridor.Add(plus.Pt1);
        std::vector<std::int64_t> counts;
        std::vector<PT> points;
        if (CollectPointsInPolygons(store, space, {corridor}, counts, points)) {
            const double dx = (p1.x() - p0.x()) / length;
            const double dy = (p1.y() - p0.y()) / length;
            for (const PT& q : points) {
                if (!HasHeight(q.z()) || IsZeroDst(q, p0) || IsZeroDst(q, p1) || !IsSuiOn(q, line))
                    continue;
                const double station = std::clamp(dx * (q.x() - p0.x()) + dy * (q.y() - p0.y()), 0.0, length);
                profile.push_back(
                    {PT(p0.x() + dx * station, p0.y() + dy * station, q.z()), station, SectionRecord::kPointHit});
            }
        }
    }
    if (settings.throughTins) {
        const SectionRecord first = profile[0];
        const SectionRecord second = profile[1];
        for (const CVertexMng* tin : ShownTins(store))
            AddTinSectionCrossings(first, second, *tin, space, profile);
    }
    std::stable_sort(profile.begin(), profile.end(), CompareSectionStation);
    ThinProfile(profile, std::isfinite(settings.minSpacing) ? settings.minSpacing : 0.0);
    return BuildSheet(std::move(profile), p0, p1, space, font);
}

SectionSheet CrossSection::BuildSheet(std::vector<SectionRecord> profile, const PT& p0, const PT& p1,
                                      const SectionSpace& space, SectionLabelFont* font)
{
    SectionSheet sheet;
    const double length = p0.Length2D(p1);
    sheet.length = length;
    SheetWriter w(sheet, space, p0, p1, font);
    const double unit = space.Unit();

    // Heights: records without one (end points picked where nothing has a height)
    // take no part; with none at all the sheet stands at 0.
    double zmin = HUGE_VAL;
    double zmax = -HUGE_VAL;
    for (const SectionRecord& r : profile) {
        if (!HasHeight(r.point.z()))
            continue;
        zmin = std::min(zmin, r.point.z());
        zmax = std::max(zmax, r.point.z());
    }
    if (zmin > zmax)
        zmin = zmax = 0.0;
    sheet.zmin = zmin;
    sheet.zmax = zmax;
    if (profile.size() >= 3) {
        sheet.leftHeight = HasHeight(p0.z()) ? p0.z() - zmin : kUnsetDouble;
        sheet.rightHeight = HasHeight(p1.z()) ? p1.z() - zmin : kUnsetDouble;
    }

    // Frame and baseline.
    const double base = zmin - unit;
    w.Line(0.0, zmin, 0.0, zmax);
    w.Line(0.0, zmax, length, zmax);
    w.Line(length, zmax, length, zmin);
    w.Line(length, zmin, 0.0, zmin);
    w.Line(0.0, base, length, base);

    // Stations: grid lines, major ticks and labels every 5, minor ticks every 1.
    const StepRange stations = Steps(0.0, std::floor((length + kGeoTolerance) / kGridStep));
    sheet.stationGrid = stations.drawn;
    for (std::int64_t k = 0; k < stations.count; ++k) {
        const double s = kGridStep * stations[k];
        if (k > 0)
            w.Line(s, zmin, s, zmax);
        w.Line(s, base, s, zmin - 2.0 * unit);
        w.Label(s, zmin, -2.75, [s](double width) { return s - width / 2.0; });
    }
    sheet.anchors[0] = w.ModelAt(length / 2.0, zmin - 2.0 * unit - 0.5 * unit);
    const StepRange minorStations = Steps(1.0, std::floor(length + kGeoTolerance));
    for (std::int64_t k = 0; k < minorStations.count; ++k) {
        const double s = minorStations[k];
        w.Line(s, zmin - 1.5 * unit, s, zmin - unit);
    }

    // Elevations: axes beside the frame, grid lines and labels every 5, minor
    // ticks every 1. The height anchors follow the outer ends of the labels.
    const double middle = (zmin + zmax) / 2.0;
    double leftAnchor = -2.2;
    double rightAnchor = length + 2.2;
    w.Line(-1.0, zmin, -1.0, zmax);
    w.Line(length + 1.0, zmin, length + 1.0, zmax);
    const double e1 = std::floor(zmax / kGridStep);
    double e0 = std::floor(zmin / kGridStep);
    if (!_f_iszero(kGridStep * e0 - zmin))
        e0 += 1.0;
    const StepRange elevations = Steps(e0, e1);
    sheet.elevationGrid = elevations.drawn;
    for (std::int64_t e = 0; e < elevations.count; ++e) {
        const double h = kGridStep * elevations[e];
        w.Line(0.0, h, length, h);
        w.Line(-2.0, h, -1.0, h);
        w.Line(length + 1.0, h, length + 2.0, h);
        const double leftWidth = w.Label(h, h, -0.25, [](double width) { return -2.2 - width; });
        const double rightWidth = w.Label(h, h, -0.25, [length](double) { return length + 2.2; });
        leftAnchor = -2.2 - leftWidth;
        rightAnchor = length + 2.2 + rightWidth;
    }
    sheet.anchors[1] = w.ModelAt(leftAnchor, middle);
    sheet.anchors[2] = w.ModelAt(rightAnchor, middle);
    double m0 = std::floor(zmin);
    if (!_f_iszero(m0 - zmin))
        m0 += 1.0;
    const StepRange minorElevations = Steps(m0, std::floor(zmax));
    for (std::int64_t m = 0; m < minorElevations.count; ++m) {
        const double h = minorElevations[m];
        w.Line(-1.5, h, -1.0, h);
        w.Line(length + 1.0, h, length + 1.5, h);
    }

    // The profile polyline and its hits; an end without a height stands on the
    // sheet's floor.
    for (const SectionRecord& r : profile) {
        PT point = r.point;
        if (!HasHeight(point.z()))
            point.Z() = zmin;
        const PT model = space.ToModel(point);
        sheet.profile.push_back(model);
        if (r.kind == SectionRecord::kPointHit)
            sheet.pointHits.push_back(model);
        else if (r.kind == SectionRecord::kTinCrossing)
            sheet.tinHits.push_back(model);
    }
    sheet.records = std::move(profile);
    return sheet;
}

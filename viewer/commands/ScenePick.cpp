#include "viewer/commands/ScenePick.h"

#include "outside/CModelDataMng.h"
#include "outside/GeoFunc.h"
#include "outside/GridCell.h"
#include "outside/StoreMarkers.h"
#include "viewer/commands/FacePick.h"

#include <algorithm>
#include <cmath>

namespace scenepick {

namespace {

// The part of a pick layer the CPU reads: every drawn element is offered with its
// number, and the one in front whose drawn footprint covers the pixel is kept.
class PixelReader {
public:
    explicit PixelReader(const Frame& frame) : m_frame(frame), m_cx(frame.x + 0.5), m_cy(frame.y + 0.5) {}

    //! An element drawn as a square of `size` pixels about its projection.
    void OfferSquare(const PT& user, double size, std::int64_t number)
    {
        ScreenProjector::Window w;
        if (!m_frame.projector.ProjectUser(user.x(), user.y(), user.z(), w)) return;
        const double half = size * 0.5;
        if (std::abs(w.x - m_cx) > half || std::abs(w.y - m_cy) > half) return;
        Keep(w.depth, number);
    }
    //! A line segment drawn `halfWidth` pixels to each side.
    void OfferSegment(const PT& a, const PT& b, double halfWidth, std::int64_t number)
    {
        ScreenProjector::Window wa, wb;
        if (!m_frame.projector.ProjectUser(a.x(), a.y(), a.z(), wa) ||
            !m_frame.projector.ProjectUser(b.x(), b.y(), b.z(), wb))
            return;
        const double dx = wb.x - wa.x, dy = wb.y - wa.y;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0.0 ? ((m_cx - wa.x) * dx + (m_cy - wa.y) * dy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const double px = wa.x + t * dx - m_cx, py = wa.y + t * dy - m_cy;
        if (px * px + py * py > halfWidth * halfWidth) return;
        Keep(wa.depth + t * (wb.depth - wa.depth), number);
    }
    //! The layer's pixel: nothing when no element covers it or its depth is not
    //! strictly between the near and far planes.
    //! Elements beyond this depth are hidden (by a surface drawn in front).
    void SetDepthLimit(double limit) { m_depthLimit = limit; }
    std::optional<LayerPixel> Pixel() const
    {
        if (!m_found || !(m_depth > 0.0 && m_depth < 1.0)) return std::nullopt;
        return LayerPixel{m_depth, IdOfNumber(m_number)};
    }

private:
    void Keep(double depth, std::int64_t number)
    {
        if (depth > m_depthLimit || (m_found && !(depth < m_depth))) return;
        m_found = true;
        m_depth = depth;
        m_number = number;
    }

    const Frame& m_frame;
    double m_cx, m_cy;   // the pixel's centre
    double m_depthLimit = 1.0;
    bool m_found = false;
    double m_depth = 1.0;
    std::int64_t m_number = 0;
};

Source CloudPoints(const CPCloudMng& cloud)
{
    return {cloud.GetCloudPointSize(), [&cloud](std::int64_t i, PT& user) {
                float x = 0, y = 0, z = 0;
                COLORREF colour = 0;
                double intensity = 0;
                if (cloud.GetCloudPointVal(i, x, y, z, colour, intensity) == 0) return false;
                user = PT(x, y, z);
                return true;
            }};
}

Source Vertices(const CVertexMng& tin)
{
    return {tin.GetVertexSize(), [&tin](std::int64_t i, PT& user) {
                float x = 0, y = 0, z = 0;
                if (tin.GetVertexVal(i, x, y, z) == 0) return false;
                user = PT(x, y, z);
                return true;
            }};
}

// ---- what each layer draws ----

bool GroupPointsDrawn(const CModelDataMng& store, const CPCloudMng& g)
{
    return store.IsShowRootGroup() != 0 && g.IsShowGroup() != 0 && g.IsShowPCloud() != 0 && g.GetCloudPointSize() > 0;
}

// The TINs whose vertices the TIN layer draws, with their kind and group.
void ForEachDrawnTin(const CModelDataMng& store, const Options& options,
                     const std::function<void(const CVertexMng&, int kind, int group)>& fn)
{
    if (!options.tinVerticesShown || store.IsShowRootGroup() == 0) return;
    for (int i = 0; i < store.GetGroupCount(); ++i) {
        const CPCloudMng* g = store.GetGroup(i);
        if (g != nullptr && g->IsShowGroup() != 0 && g->IsShowTin() != 0 && !g->m_triangles.empty())
            fn(*g, kGroupTinVertex, i);
    }
    const CPCloudMng& cloud = store.m_viewCloud;
    if (cloud.IsShowGroup() != 0 && cloud.IsShowTin() != 0 && !cloud.m_triangles.empty())
        fn(cloud, kViewCloudTinVertex, -1);
    if (store.IsShowCADGroup() != 0 && store.IsShowCADTin() != 0 && !store.m_cadTin.m_triangles.empty())
        fn(store.m_cadTin, kCadTinVertex, -1);
}

// The part drawing's sources in drawing order: line ends, then points, of the
// 3D set and (unless hidden) the 2D set.
void ForEachDrawnPartSource(const CModelDataMng& store, const Options& options,
                            const std::function<void(const Source&, bool lineEnds,
                                                     const std::vector<CModelDataMng::PartLine>&)>& fn)
{
    if (store.IsShowRootGroup() == 0 || store.IsShowPartGroup() == 0) return;
    const int sets = options.partSecondSetShown ? 2 : 1;
    for (int s = 0; s < sets; ++s) {
        const CVertexMng& vertices = s == 0 ? store.m_partLineVertex3D : store.m_partLineVertex2D;
        const auto& lines = s == 0 ? store.m_partLine3D : store.m_partLine2D;
        const CPCloudMng& points = s == 0 ? store.m_partPoint3D : store.m_partPoint2D;
        if (store.IsShowPartLn() != 0 && !lines.empty()) fn(Vertices(vertices), true, lines);
        if (store.IsShowPartPt() != 0) fn(CloudPoints(points), false, lines);
    }
}

bool CadLayerShown(const CModelDataMng& store, std::uint8_t kind)
{
    const auto it = store.m_cadLayerIndex.find(kind);
    if (it == store.m_cadLayerIndex.end() || it->second < 0 || it->second >= CModelDataMng::kCadLayerCount)
        return false;
    const CModelDataMng::CadLayer& layer = store.m_cadLayers[static_cast<std::size_t>(it->second)];
    return layer.present && layer.show != 0;
}

// ---- the layers' pixels ----

// Whether a grid cell's box may cover the pixel on the screen, widened by `margin`
// pixels; a box reaching behind the eye always may.
bool CellMayCover(const Frame& frame, const GridCell& cell, double margin)
{
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    for (int corner = 0; corner < 8; ++corner) {
        PT user(corner & 1 ? cell.maxX : cell.minX, corner & 2 ? cell.maxY : cell.minY,
                corner & 4 ? cell.maxZ : cell.minZ);
        ScreenProjector::Window w;
        if (!frame.projector.ProjectUser(user.x(), user.y(), user.z(), w)) return true;
        x0 = corner == 0 ? w.x : std::min(x0, w.x);
        x1 = corner == 0 ? w.x : std::max(x1, w.x);
        y0 = corner == 0 ? w.y : std::min(y0, w.y);
        y1 = corner == 0 ? w.y : std::max(y1, w.y);
    }
    const double cx = frame.x + 0.5, cy = frame.y + 0.5;
    return cx >= x0 - margin && cx <= x1 + margin && cy >= y0 - margin && cy <= y1 + margin;
}

// Whether the group's grid holds every point once (it is rebuilt after changes
// by whoever changed the points; until then every point is read).
bool GridCoversPoints(const CPCloudMng& g)
{
    std::size_t indexed = 0;
    for (const GridCell& cell : g.m_grid) indexed += cell.indices.size();
    return !g.m_grid.empty() && indexed == static_cast<std::size_t>(g.GetCloudPointSize());
}

std::optional<LayerPixel> PointLayerPixel(const Frame& frame, const Options& options)
{
    PixelReader reader(frame);
    const double margin = options.pointDrawSize * 0.5 + 1.0;
    for (int i = 0; i < frame.store.GetGroupCount(); ++i) {
        const CPCloudMng* g = frame.store.GetGroup(i);
        if (g == nullptr || !GroupPointsDrawn(frame.store, *g)) continue;
        const Source points = CloudPoints(*g);
        PT p;
        if (GridCoversPoints(*g)) {
            for (const GridCell& cell : g->m_grid) {
                if (!CellMayCover(frame, cell, margin)) continue;
                for (const std::uint32_t k : cell.indices)
                    if (points.read(k, p)) reader.OfferSquare(p, options.pointDrawSize, k);
            }
        } else {
            for (std::int64_t k = 0; k < points.count; ++k)
                if (points.read(k, p)) reader.OfferSquare(p, options.pointDrawSize, k);
        }
    }
    return reader.Pixel();
}

std::optional<LayerPixel> CadLayerPixel(const Frame& frame)
{
    const CModelDataMng& store = frame.store;
    if (store.IsShowRootGroup() == 0 || store.IsShowCADGroup() == 0) return std::nullopt;
    PixelReader reader(frame);
    constexpr double kLineHalfWidth = 1.0;
    constexpr double kPointSize = 5.0;
    for (std::size_t e = 0; e < store.m_elmList.size(); ++e) {
        const CElmData& elm = store.m_elmList[e];
        if (!CadLayerShown(store, elm.m_nKind)) continue;
        const bool lines = elm.GetPointCount() >= 2;
        const auto number = static_cast<std::int64_t>(e);
        elm.ForEachSegmentEnds([&](const PT& a, const PT& b) {
            if (lines)
                reader.OfferSegment(a, b, kLineHalfWidth, number);
            else
                reader.OfferSquare(a, kPointSize, number);
        });
    }
    return reader.Pixel();
}

std::optional<LayerPixel> PartLayerPixel(const Frame& frame, const Options& options)
{
    PixelReader reader(frame);
    ForEachDrawnPartSource(frame.store, options, [&](const Source& source, bool lineEnds, const auto& lines) {
        PT p;
        if (lineEnds) {
            for (const CModelDataMng::PartLine& line : lines)
                for (std::int32_t v : {line.v1, line.v2})
                    if (source.read(v, p)) reader.OfferSquare(p, options.vertexTolerance, v);
        } else {
            for (std::int64_t k = 0; k < source.count; ++k)
                if (source.read(k, p)) reader.OfferSquare(p, options.vertexTolerance, k);
        }
    });
    return reader.Pixel();
}

std::optional<LayerPixel> TinLayerPixel(const Frame& frame, const Options& options)
{
    PixelReader reader(frame);
    // With faces shown, another TIN's face in front hides a vertex; a TIN's own
    // faces never hide its vertices.
    std::optional<FaceHit> face;
    if (options.tinFacesShown) face = FrontFaceAt(frame.store, frame.projector, frame.x + 0.5, frame.y + 0.5);
    ForEachDrawnTin(frame.store, options, [&](const CVertexMng& tin, int kind, int group) {
        const bool ownFace = face && face->kind == kind && (kind != kGroupTinVertex || face->group == group);
        reader.SetDepthLimit(face && !ownFace ? face->depth : 1.0);
        const Source vertices = Vertices(tin);
        PT p;
        for (std::int64_t k = 0; k < vertices.count; ++k)
            if (vertices.read(k, p)) reader.OfferSquare(p, options.vertexTolerance, k);
    });
    return reader.Pixel();
}

// ---- candidates of each layer ----

// The best hit over the kinds of one layer: the first best of the nearest.
struct Best {
    std::optional<Hit> hit;
    double distance = 0.0;
    void Offer(Hit h, double d)
    {
        if (!hit || d < distance) {
            hit = std::move(h);
            distance = d;
        }
    }
};

void PickCloudPoint(const Frame& frame, std::uint32_t id, int tolerance, Best& layerBest)
{
    for (int i = 0; i < frame.store.GetGroupCount(); ++i) {
        const CPCloudMng* g = frame.store.GetGroup(i);
        if (g == nullptr || !GroupPointsDrawn(frame.store, *g)) continue;
        if (const auto c = BestCandidate(CloudPoints(*g), id, frame, tolerance))
            layerBest.Offer(Hit{kCloudPoint, {i, static_cast<int>(c->index)}, c->point, 1}, c->distance);
    }
}

void PickPartFigureVertex(const Frame& frame, std::uint32_t id, const Options& options, Best& layerBest)
{
    ForEachDrawnPartSource(frame.store, options, [&](const Source& source, bool, const auto&) {
        const auto c = BestCandidate(source, id, frame, options.vertexTolerance);
        if (!c) return;
        PT user;
        source.read(c->index, user);
        const int elevation = IsNoElevation(static_cast<double>(static_cast<float>(user.z()))) ? 0 : 1;
        layerBest.Offer(Hit{kPartFigure, {static_cast<int>(c->index)}, c->point, elevation}, c->distance);
    });
}

void PickTinVertex(const Frame& frame, std::uint32_t id, const Options& options, Best& layerBest)
{
    ForEachDrawnTin(frame.store, options, [&](const CVertexMng& tin, int kind, int group) {
        const auto c = BestCandidate(Vertices(tin), id, frame, options.vertexTolerance);
        if (!c) return;
        std::vector<int> ids;
        if (kind == kGroupTinVertex) ids.push_back(group);
        ids.push_back(static_cast<int>(c->index));
        layerBest.Offer(Hit{kind, std::move(ids), c->point, 1}, c->distance);
    });
}

double PlanDistance(const PT& a, const PT& b) { return _f_length(a.x(), a.y(), b.x(), b.y()); }

}  // namespace

void WalkCandidates(std::int64_t id, std::int64_t count, const std::function<bool(std::int64_t)>& visit)
{
    if (id < 0) return;
    for (std::int64_t n = id; n < count; n += kIdSpan)
        if (!visit(n)) return;
}

std::optional<Candidate> BestCandidate(const Source& source, std::int64_t id, const Frame& frame, int tolerance)
{
    std::optional<Candidate> best;
    WalkCandidates(id, source.count, [&](std::int64_t n) {
        PT user;
        ScreenProjector::Window w;
        if (!source.read(n, user) || !frame.projector.ProjectUser(user.x(), user.y(), user.z(), w)) return true;
        if (std::abs(w.x - frame.x) > tolerance || std::abs(w.y - frame.y) > tolerance) return true;
        PT model = user;
        frame.store.UserToModel(model);
        const double d = PlanDistance(frame.eye, model);
        if (!best || d < best->distance) best = Candidate{n, model, d};
        return true;
    });
    return best;
}

std::optional<Hit> PickScene(const CModelDataMng& store, const ScreenProjector& projector, double x,
                             double yFromTop, const Options& options)
{
    const double wy = projector.ViewportHeight() - yFromTop;
    if (!std::isfinite(x) || !std::isfinite(wy)) return std::nullopt;
    PT eye;
    if (!projector.UnprojectModel(x, wy, 0.0, eye)) return std::nullopt;
    const Frame frame{store, projector, x, wy, eye};
    const Layers& layers = options.layers;

    Best best;
    // A layer's hit replaces the best when it is nearer the eye in plan.
    const auto offer = [&](Best& layerBest) {
        if (layerBest.hit) best.Offer(std::move(*layerBest.hit), layerBest.distance);
    };
    if (layers.points)
        if (const auto pixel = PointLayerPixel(frame, options)) {
            Best layer;
            PickCloudPoint(frame, pixel->id, options.pointTolerance, layer);
            offer(layer);
        }
    if (layers.cadFirst || layers.cadSecond)
        if (CadLayerPixel(frame)) {
            // A figure has no point: its distance is that of the unset point.
            const PT unset(kUnsetDouble, kUnsetDouble, kUnsetDouble);
            const double d = PlanDistance(eye, unset);
            if (layers.cadFirst) best.Offer(Hit{kCadFigure, {}, unset, 0}, d);
            if (layers.cadSecond) best.Offer(Hit{kCadFigureSecond, {}, unset, 0}, d);
        }
    if (layers.part)
        if (const auto pixel = PartLayerPixel(frame, options)) {
            Best layer;
            PickPartFigureVertex(frame, pixel->id, options, layer);
            offer(layer);
        }
    if (layers.tin)
        if (const auto pixel = TinLayerPixel(frame, options)) {
            Best layer;
            PickTinVertex(frame, pixel->id, options, layer);
            offer(layer);
        }
    return best.hit;
}

}  // namespace scenepick

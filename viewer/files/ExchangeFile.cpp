#include "viewer/files/ExchangeFile.h"

#include "outside/CModelDataMng.h"
#include "outside/GeoFunc.h"
#include "outside/POLY.h"
#include "outside/RECTX.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "viewer/files/BufferedFileWriter.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>
#include <utility>

namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr int kAnswerWait = -1;
constexpr int kAnswerAbort = -2;

bool TinShown(const CPCloudMng& g) { return g.IsShowGroup() != 0 && g.IsShowTin() != 0 && g.GetTriangleCount() > 0; }

// Sorted unique corner indices of the triangles that name a real vertex.
std::vector<std::uint32_t> UniqueVertices(const CVertexMng& tin)
{
    std::vector<std::uint32_t> v;
    v.reserve(tin.m_triangles.size() * 3);
    const std::uint64_t n = std::uint64_t(tin.GetVertexSize());
    for (const CIndexedTriangle& t : tin.m_triangles)
        for (std::uint32_t i : t.m_idx)
            if (i < n) v.push_back(i);
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

// Sorted unique edges (smaller index first) of real vertices; equal ends dropped.
std::vector<std::pair<std::uint32_t, std::uint32_t>> UniqueEdges(const CVertexMng& tin)
{
    std::vector<std::pair<std::uint32_t, std::uint32_t>> e;
    e.reserve(tin.m_triangles.size() * 3);
    const std::uint64_t n = std::uint64_t(tin.GetVertexSize());
    for (const CIndexedTriangle& t : tin.m_triangles) {
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t a = t.m_idx[k];
            const std::uint32_t b = t.m_idx[(k + 1) % 3];
            if (a == b || a >= n || b >= n) continue;
            e.emplace_back(std::min(a, b), std::max(a, b));
        }
    }
    std::sort(e.begin(), e.end());
    e.erase(std::unique(e.begin(), e.end()), e.end());
    return e;
}

// Reads little-endian values from a byte string, never past its end.
struct ByteReader {
    const std::string& bytes;
    std::size_t at = 0;
    template <class T>
    bool Get(T& value)
    {
        if (bytes.size() - at < sizeof(T)) return false;
        std::memcpy(&value, bytes.data() + at, sizeof(T));
        at += sizeof(T);
        return true;
    }
    std::size_t Left() const { return bytes.size() - at; }
};

}  // namespace

bool ExchangeFile::Step(std::int64_t maximum, std::int64_t position)
{
    if (!m_progress) return true;
    for (;;) {
        const int answer = m_progress(maximum, position);
        if (answer == kAnswerAbort) return false;
        if (answer != kAnswerWait) return true;
        // The abort question is open on the UI thread: ask again shortly.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void ExchangeFile::PutHostPoint(BufferedFileWriter& out, double x, double y, double z) const
{
    m_toSurvey.XY(&x, &y);
    out.Put(x);
    out.Put(y);
    out.Put(z);
}

std::vector<const CVertexMng*> ExchangeFile::ExchangeTinSources() const
{
    std::vector<const CVertexMng*> sources;
    if (!m_store.IsShowRootGroup()) return sources;
    for (int i = 0; i < m_store.GetGroupCount(); ++i)
        if (const CPCloudMng* g = m_store.GetGroup(i); g && TinShown(*g)) sources.push_back(g);
    if (TinShown(m_store.m_viewCloud)) sources.push_back(&m_store.m_viewCloud);
    if (m_store.IsShowCADGroup() && m_store.IsShowCADTin() && m_store.m_cadTin.GetTriangleCount() > 0)
        sources.push_back(&m_store.m_cadTin);
    return sources;
}

// Writes the figures of every TIN source: the count, then one figure per item that
// itemsOf gives, with progress after every tenth of them.
template <class ItemsOf, class PutItem>
std::optional<std::int64_t> ExchangeFile::WriteFigures(BufferedFileWriter& out, ItemsOf itemsOf, PutItem putItem)
{
    using Items = decltype(itemsOf(std::declval<const CVertexMng&>()));
    std::vector<std::pair<const CVertexMng*, Items>> parts;
    std::int64_t count = 0;
    for (const CVertexMng* tin : ExchangeTinSources()) {
        parts.emplace_back(tin, itemsOf(*tin));
        count += std::int64_t(parts.back().second.size());
    }
    if (count > kInt32Max) return std::nullopt;
    out.Put(std::int32_t(count));
    const std::int64_t step = std::max<std::int64_t>(1, count / 10);
    std::int64_t written = 0;
    for (const auto& [tin, items] : parts) {
        for (const auto& item : items) {
            putItem(*tin, item);
            if (++written % step == 0 && !Step(count, written)) return std::nullopt;
        }
    }
    if (m_progressEnd && count > 0) m_progressEnd();
    return count;
}

std::optional<std::int64_t> ExchangeFile::WriteExchangeTinVertices(BufferedFileWriter& out)
{
    return WriteFigures(out, UniqueVertices, [&](const CVertexMng& tin, std::uint32_t i) {
        float x = 0, y = 0, z = 0;
        tin.GetVertexVal(i, x, y, z);
        out.Put(kPointFigure);
        out.Put(std::int32_t(0));
        out.Put(std::int32_t(kPointFigureColour));
        out.Put(std::int32_t(1));
        PutHostPoint(out, x, y, z);
    });
}

std::optional<std::int64_t> ExchangeFile::WriteExchangeTinEdges(BufferedFileWriter& out)
{
    return WriteFigures(out, UniqueEdges, [&](const CVertexMng& tin, std::pair<std::uint32_t, std::uint32_t> edge) {
        out.Put(kLineFigure);
        out.Put(std::int32_t(0));
        out.Put(std::int32_t(kLineFigureColour));
        out.Put(std::int32_t(2));
        for (std::uint32_t i : {edge.first, edge.second}) {
            float x = 0, y = 0, z = 0;
            tin.GetVertexVal(i, x, y, z);
            PutHostPoint(out, x, y, z);
        }
    });
}

std::optional<std::int64_t> ExchangeFile::WriteExchangePoints(BufferedFileWriter& out, int pointLimit)
{
    const bool rootShown = m_store.IsShowRootGroup() != 0;
    const auto writePoint = [&](const CPCloudMng& g, std::int64_t i) {
        float x = 0, y = 0, z = 0;
        COLORREF colour = 0;
        double intensity = 0;
        if (!g.GetCloudPointVal(i, x, y, z, colour, intensity)) return false;
        PutHostPoint(out, x, y, z);
        out.Put(std::uint32_t(colour));
        out.Put(intensity);
        return true;
    };
    const auto shownGroup = [&](std::int64_t index) -> const CPCloudMng* {
        const CPCloudMng* g = rootShown ? m_store.GetGroup(index) : nullptr;
        return g && g->IsShownForPoints() ? g : nullptr;
    };

    if (m_selection && !m_selection->empty()) {
        // Only points the store can deliver are counted, so the count matches.
        std::int64_t count = 0;
        for (const SelPCloud& s : *m_selection)
            if (const CPCloudMng* g = shownGroup(s.group))
                for (std::uint64_t ref : s.points)
                    if (SelPCloud::PointIndex(ref) < std::uint64_t(g->GetCloudPointSize())) ++count;
        if (count > kInt32Max) return std::nullopt;
        out.Put(std::int32_t(count));
        for (const SelPCloud& s : *m_selection)
            if (const CPCloudMng* g = shownGroup(s.group))
                for (std::uint64_t ref : s.points) writePoint(*g, SelPCloud::PointIndex(ref));
        return count;
    }
    std::int64_t count = 0;
    for (int i = 0; i < m_store.GetGroupCount(); ++i)
        if (const CPCloudMng* g = shownGroup(i)) count += g->GetCloudPointSize();
    if (count > kInt32Max) return std::nullopt;
    out.Put(std::int32_t(count));
    // Over the host's limit only the count goes: the host then knows how many there are.
    if (count <= 0 || (pointLimit > 0 && count > pointLimit)) return count;
    for (int i = 0; i < m_store.GetGroupCount(); ++i)
        if (const CPCloudMng* g = shownGroup(i))
            for (std::int64_t p = 0; p < g->GetCloudPointSize(); ++p) writePoint(*g, p);
    return count;
}

int ExchangeFile::WriteExchangeFile(const std::string& path, int contentFlags, int pointLimit, int tinType)
{
    BufferedFileWriter out(path);
    if (!out.Open()) {
        tessara::Log("cannot create the exchange file %s", path.c_str());
        return 0;
    }
    out.Put(kMagic);
    out.Put(kVersion);
    out.Put(std::int32_t(contentFlags));
    std::int64_t items = 0;
    if (contentFlags & kTinPart) {
        if (tinType == kTinPoints || tinType == kTinLines) {
            out.Put(std::int32_t(0));
            const auto figures = tinType == kTinPoints ? WriteExchangeTinVertices(out) : WriteExchangeTinEdges(out);
            if (!figures) {
                tessara::Log("exchange file %s not written: aborted or too many figures", path.c_str());
                out.Discard();
                return 0;
            }
            items += *figures;
        } else {
            out.Put(std::int32_t(m_cadLayerFlag ? 1 : 0));
        }
    }
    if (contentFlags & kPointPart) {
        const auto points = WriteExchangePoints(out, pointLimit);
        if (!points) {
            tessara::Log("exchange file %s not written: more points than the file holds", path.c_str());
            out.Discard();
            return 0;
        }
        items += *points;
    }
    if (items > kInt32Max || !out.Commit()) {
        tessara::Log("cannot write the exchange file %s", path.c_str());
        return 0;
    }
    return int(items);
}

HostPolygonList ReadHostPolygonList(const std::string& path)
{
    HostPolygonList list;
    const auto bytes = tessara::ReadWholeFile(path);
    if (!bytes) return list;
    ByteReader in{*bytes};
    std::uint32_t magic = 0;
    std::uint16_t version = 0;
    std::int32_t count = 0;
    if (!in.Get(magic) || magic != ExchangeFile::kMagic) return list;
    list.hostFile = true;
    if (!in.Get(version) || version != ExchangeFile::kVersion || !in.Get(count) || count <= 0) return list;
    // Each polygon takes at least its 2-byte point count.
    if (std::size_t(count) > in.Left() / 2) return list;
    auto polygons = std::vector<std::vector<PT>>(std::size_t(count));
    for (auto& poly : polygons) {
        std::uint16_t n = 0;
        if (!in.Get(n) || std::size_t(n) > in.Left() / 24) return list;
        poly.reserve(n);
        for (int k = 0; k < n; ++k) {
            double v[3] = {0.0, 0.0, 0.0};
            if (!in.Get(v[0]) || !in.Get(v[1]) || !in.Get(v[2])) return list;
            if (!std::isfinite(v[0]) || !std::isfinite(v[1]) || !std::isfinite(v[2])) return list;
            poly.emplace_back(v[0], v[1], v[2]);
        }
    }
    list.polygons = std::move(polygons);
    return list;
}

int ExchangeFile::ExportPointsInPolygons(const std::string& path)
{
    const HostPolygonList list = ReadHostPolygonList(path);
    if (!list.hostFile && tessara::FileExists(path)) {
        tessara::Log("%s is not a host polygon file; left as it is", path.c_str());
        return 0;
    }
    BufferedFileWriter out(path);
    if (!out.Open()) return 0;
    out.Put(kMagic);
    out.Put(kVersion);
    out.Put(std::int32_t(list.polygons.size()));
    const MTRX toUser = ~m_toSurvey;
    std::int64_t total = 0;
    std::vector<std::array<double, 3>> taken;
    for (const auto& hostPoly : list.polygons) {
        taken.clear();
        if (m_store.IsShowRootGroup()) {
            POLY poly;
            for (PT p : hostPoly) {
                toUser.XY(p);
                poly.Add(p);
            }
            const RECTX box = poly.GetRectPlygn();
            const auto overlaps = [&](double x0, double y0, double x1, double y1) {
                return !(x1 < box.m_minX || x0 > box.m_maxX || y1 < box.m_minY || y0 > box.m_maxY);
            };
            // A box wholly inside: no crossing with its outline and both corners inside.
            const auto wholeInside = [&](double x0, double y0, double x1, double y1) {
                POLY outline(5);
                outline.Add(PT(x0, y0, 1e-16));
                outline.Add(PT(x1, y0, 1e-16));
                outline.Add(PT(x1, y1, 1e-16));
                outline.Add(PT(x0, y1, 1e-16));
                outline.Add(PT(x0, y0, 1e-16));
                return GetCrossCnt(poly, outline) == 0 && PtInPolygon(poly, PT(x0, y0, 1e-16)) != 0 &&
                       PtInPolygon(poly, PT(x1, y1, 1e-16)) != 0;
            };
            const auto take = [&](const CPCloudMng& g, std::int64_t i, bool test) {
                float x = 0, y = 0, z = 0;
                COLORREF colour = 0;
                double intensity = 0;
                if (!g.GetCloudPointVal(i, x, y, z, colour, intensity)) return;
                if (test && PtInPolygon(poly, PT(x, y, z)) != 1) return;
                double hx = x, hy = y;
                m_toSurvey.XY(&hx, &hy);
                taken.push_back({hx, hy, double(z)});
            };
            for (int gi = 0; gi < m_store.GetGroupCount(); ++gi) {
                const CPCloudMng* g = m_store.GetGroup(gi);
                if (!g || g->m_nDataFlag == 0 || !g->IsShownForPoints() || g->GetCloudPointSize() == 0) continue;
                const double gx0 = g->GetPCloudMinX(), gy0 = g->GetPCloudMinY();
                const double gx1 = g->GetPCloudMaxX(), gy1 = g->GetPCloudMaxY();
                if (!overlaps(gx0, gy0, gx1, gy1)) continue;
                if (wholeInside(gx0, gy0, gx1, gy1)) {
                    for (std::int64_t i = 0; i < g->GetCloudPointSize(); ++i) take(*g, i, false);
                    continue;
                }
                if (g->m_grid.empty()) {
                    for (std::int64_t i = 0; i < g->GetCloudPointSize(); ++i) take(*g, i, true);
                    continue;
                }
                for (const GridCell& cell : g->m_grid) {
                    if (cell.indices.empty() || !overlaps(cell.minX, cell.minY, cell.maxX, cell.maxY)) continue;
                    const bool all = wholeInside(cell.minX, cell.minY, cell.maxX, cell.maxY);
                    for (std::uint32_t i : cell.indices) take(*g, i, !all);
                }
            }
        }
        if (total + std::int64_t(taken.size()) > kInt32Max) return 0;
        out.Put(std::int32_t(taken.size()));
        for (const auto& p : taken) {
            out.Put(p[0]);
            out.Put(p[1]);
            out.Put(p[2]);
        }
        total += std::int64_t(taken.size());
    }
    if (!out.Commit()) {
        tessara::Log("cannot write the points in polygons to %s", path.c_str());
        return 0;
    }
    return int(total);
}

int ExchangeFile::WriteShownTins(const std::string& path)
{
    std::vector<const CVertexMng*> tins;
    if (m_store.IsShowRootGroup()) {
        for (int i = 0; i < m_store.GetGroupCount(); ++i)
            if (const CPCloudMng* g = m_store.GetGroup(i); g && TinShown(*g)) tins.push_back(g);
        if (m_store.IsShowCADGroup() && m_store.IsShowCADTin() && m_store.m_cadTin.GetTriangleCount() > 0)
            tins.push_back(&m_store.m_cadTin);
        if (TinShown(m_store.m_viewCloud)) tins.push_back(&m_store.m_viewCloud);
    }
    BufferedFileWriter out(path);
    if (!out.Open()) return 0;
    out.Put(kMagic);
    out.Put(kVersion);
    out.Put(std::int32_t(tins.size()));
    std::int64_t triangles = 0;
    for (const CVertexMng* tin : tins) {
        out.Put(std::int32_t(tin->GetVertexSize()));
        for (std::int64_t i = 0; i < tin->GetVertexSize(); ++i) {
            float x = 0, y = 0, z = 0;
            tin->GetVertexVal(i, x, y, z);
            PutHostPoint(out, x, y, z);
        }
        out.Put(std::int32_t(tin->GetTriangleCount()));
        for (const CIndexedTriangle& t : tin->m_triangles)
            for (std::uint32_t i : t.m_idx) out.Put(std::int32_t(i));
        triangles += tin->GetTriangleCount();
    }
    if (triangles > kInt32Max || !out.Commit()) return 0;
    return int(triangles);
}

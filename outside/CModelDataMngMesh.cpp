#include "outside/CCalcTIN.h"
#include "outside/CModelDataMng.h"
#include "outside/CPCloudMng.h"
#include "outside/StoreMarkers.h"
#include "outside/XTinOption.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

// Runs the generator over the points it was given and makes the result the TIN of
// `target`: the points the triangles use become its vertices (in the order given),
// the triangles index them. The new TIN is built aside and replaces the old one
// only when complete, also when no mesh results (the old TIN is then removed).
int StoreMesh(CCalcTIN& calc, CVertexMng& target, const OutsideProgressFn& progress, bool keepOldWhenEmpty = false)
{
    CVertexMng fresh;
    const int made = calc.DoCalc(nullptr, 1, progress);
    if (calc.IsCancelled())
        return target.GetTriangleCount(); // stopped: the old TIN stays
    if (made == 0 && keepOldWhenEmpty)
        return 0;
    if (made != 0) {
        const auto& tris = calc.GetTriangles();
        constexpr std::uint32_t kUnused = 0xFFFFFFFFu;
        std::vector<std::uint32_t> vertexOf(static_cast<std::size_t>(calc.GetPointCount()), kUnused);
        for (const auto& t : tris)
            vertexOf[t[0]] = vertexOf[t[1]] = vertexOf[t[2]] = 0;
        fresh.ReserveVertex(vertexOf.size());
        for (std::size_t p = 0; p < vertexOf.size(); ++p) {
            if (vertexOf[p] == kUnused)
                continue;
            vertexOf[p] = static_cast<std::uint32_t>(fresh.GetVertexSize());
            const PT& pt = calc.GetPoint(static_cast<int>(p));
            fresh.AddVertex(static_cast<float>(pt.x()), static_cast<float>(pt.y()), static_cast<float>(pt.z()));
        }
        fresh.m_triangles.reserve(tris.size());
        for (const auto& t : tris)
            fresh.m_triangles.emplace_back(vertexOf[t[0]], vertexOf[t[1]], vertexOf[t[2]]);
        fresh.CreateGrid();
    }
    // Only the TIN part of the target changes: a group keeps its points and flags.
    fresh.m_tinValue1 = target.m_tinValue1;
    fresh.m_tinValue2 = target.m_tinValue2;
    static_cast<CVertexMng&>(target) = std::move(fresh);
    return target.GetTriangleCount();
}

void SetUp(CCalcTIN& calc, const XTinOption* option)
{
    calc.Init();
    if (option == nullptr)
        return;
    calc.SetPolyRdcsplMode(option->m_nPolyRdcsplMode);
    calc.SetConsiderBreakLineSw(option->m_nConsiderBreakLineSw);
    calc.SetRemoveExcessiveTriangle(option->m_nRemoveExcessiveTriangleSw, option->m_dExcessiveTriangleLength);
}

// Break lines from the CAD figures: every run of consecutive points with
// elevations, within the plan box (grown by a small margin).
void AddCadBreakLines(CCalcTIN& calc, const CModelDataMng& store, const RECTX& box)
{
    for (const CElmData& e : store.m_elmList) {
        for (const std::vector<PT>& list : e.m_ptLists) {
            std::vector<PT> run;
            auto flush = [&] {
                if (run.size() >= 2)
                    calc.AddBreakLine(run);
                run.clear();
            };
            for (const PT& p : list) {
                const bool usable = p.IsFinite() && !IsUnsetValue(p.z()) && box.Contains(p.x(), p.y());
                if (usable)
                    run.push_back(p);
                else
                    flush();
            }
            flush();
        }
    }
}

} // namespace

int CPCloudMng::GenerateMesh(CModelDataMng* store, const XTinOption* option, int /*mode*/,
                             const OutsideProgressFn& progress)
{
    try {
        return GenerateMeshFromPoints(store, option, progress);
    } catch (const std::exception&) {
        return GetTriangleCount(); // out of memory before the TIN was replaced
    }
}

int CPCloudMng::GenerateMeshFromPoints(CModelDataMng* store, const XTinOption* option, const OutsideProgressFn& progress)
{
    CCalcTIN calc;
    SetUp(calc, option);
    calc.ReservePoints(m_points.size());
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        const CloudPoint& p = m_points[i];
        if (std::isnan(p.z))
            continue; // marked deleted
        calc.SetCalcPtEx(PT(p.x, p.y, p.z), static_cast<std::int64_t>(i), kUnsetDouble);
    }
    if (store != nullptr && option != nullptr && option->m_nConsiderBreakLineSw != 0 && !m_points.empty())
        AddCadBreakLines(calc, *store,
                         RECTX(GetPCloudMinX(), GetPCloudMinY(), GetPCloudMaxX(), GetPCloudMaxY()));
    return StoreMesh(calc, *this, progress);
}

int CModelDataMng::GenerateMesh(const std::vector<SelPCloud>& selection, std::int64_t target,
                                const XTinOption* option, const OutsideProgressFn& progress)
{
    CPCloudMng* group = GetGroup(target);
    if (group == nullptr)
        return 0;
    try {
        return MeshFromSelection(selection, *group, target, option, progress);
    } catch (const std::exception&) {
        return group->GetTriangleCount(); // out of memory before the TIN was replaced
    }
}

int CModelDataMng::MeshFromSelection(const std::vector<SelPCloud>& selection, CPCloudMng& group, std::int64_t target,
                                     const XTinOption* option, const OutsideProgressFn& progress)
{
    CCalcTIN calc;
    SetUp(calc, option);
    for (const SelPCloud& s : selection) {
        if (s.group != target)
            continue;
        for (std::uint64_t ref : s.points) {
            float x, y, z;
            COLORREF colour;
            double intensity;
            const std::uint32_t i = SelPCloud::PointIndex(ref);
            if (group.GetCloudPointVal(i, x, y, z, colour, intensity) == 0 || std::isnan(z))
                continue;
            calc.SetCalcPtEx(PT(x, y, z), i, kUnsetDouble);
        }
    }
    if (option != nullptr && option->m_nConsiderBreakLineSw != 0 && !group.m_points.empty())
        AddCadBreakLines(calc, *this,
                         RECTX(group.GetPCloudMinX(), group.GetPCloudMinY(), group.GetPCloudMaxX(), group.GetPCloudMaxY()));
    return StoreMesh(calc, group, progress);
}

namespace {

// At most this many pieces to one line when lines are split.
constexpr double kMaxPieces = 10000.0;

bool HasElevation(const PT& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z()) && !IsUnsetValue(p.z());
}

bool IsShownCadFigure(const CModelDataMng& store, const CElmData& e)
{
    return store.IsShowRootGroup() != 0 && store.IsShowCADGroup() != 0 && store.IsOnShownCadLayer(e);
}

} // namespace

CModelDataMng::CadTinInput CModelDataMng::CountCadTinInput() const
{
    CadTinInput input;
    // The first point, the first at another place, and whether any lies off their line.
    const PT* first = nullptr;
    const PT* second = nullptr;
    for (const CElmData& e : m_elmList) {
        if (!IsShownCadFigure(*this, e))
            continue;
        std::int64_t withZ = 0;
        for (const std::vector<PT>& list : e.m_ptLists)
            for (const PT& p : list) {
                if (!HasElevation(p))
                    continue;
                ++withZ;
                if (input.spansArea)
                    continue;
                if (first == nullptr)
                    first = &p;
                else if (second == nullptr && (p.x() != first->x() || p.y() != first->y()))
                    second = &p;
                else if (second != nullptr)
                    input.spansArea = (second->x() - first->x()) * (p.y() - first->y()) !=
                                      (second->y() - first->y()) * (p.x() - first->x());
            }
        input.vertices += withZ;
        ++(withZ > 0 ? input.figuresUsed : input.figuresWithoutZ);
    }
    return input;
}

int CModelDataMng::GenerateCadTin(const XTinOption* option, double splitPitch, const OutsideProgressFn& progress)
{
    try {
        CCalcTIN calc;
        SetUp(calc, option);
        const bool constrain = option != nullptr && option->m_nConsiderBreakLineSw != 0;
        std::size_t points = 0;
        for (const CElmData& e : m_elmList)
            points += e.GetPointCount();
        calc.ReservePoints(points);
        // The position the point takes in the generator, or kNone when refused.
        constexpr std::int64_t kNone = -1;
        const auto add = [&](PT p) {
            UserToModel(p);
            const std::int64_t at = calc.GetPointCount();
            return calc.SetCalcPtEx(p, -1, kUnsetDouble) != 0 ? at : kNone;
        };
        for (const CElmData& e : m_elmList) {
            if (!IsShownCadFigure(*this, e))
                continue;
            for (const std::vector<PT>& list : e.m_ptLists) {
                std::int64_t previous = kNone;
                const PT* previousPt = nullptr;
                for (const PT& p : list) {
                    if (!HasElevation(p)) {
                        previous = kNone;
                        continue;
                    }
                    const std::int64_t at = add(p);
                    if (constrain && previous != kNone && at != kNone) {
                        // A long line gets points of its own every pitch, its
                        // elevation taken along the line.
                        std::int64_t from = previous;
                        const double length = previousPt->Length2D(p);
                        const int pieces = splitPitch > 0.0
                                               ? static_cast<int>(std::min(std::ceil(length / splitPitch), kMaxPieces))
                                               : 1;
                        for (int k = 1; k < pieces; ++k) {
                            const double t = static_cast<double>(k) / pieces;
                            const PT mid(previousPt->x() + (p.x() - previousPt->x()) * t,
                                         previousPt->y() + (p.y() - previousPt->y()) * t,
                                         previousPt->z() + (p.z() - previousPt->z()) * t);
                            const std::int64_t m = add(mid);
                            if (m != kNone) {
                                calc.AddConstraint(static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(m));
                                from = m;
                            }
                        }
                        calc.AddConstraint(static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(at));
                    }
                    previous = at;
                    previousPt = &p;
                }
            }
        }
        return StoreMesh(calc, m_cadTin, progress, true);
    } catch (const std::exception&) {
        return 0; // out of memory before the TIN was replaced
    }
}

#include "plugins/gnss/GnssConditionLoader.h"

#include "plugins/gnss/GnssResultMessages.h"
#include "plugins/gnss/GnssTableAccess.h"
#include "plugins/gnss/HalfBaselinePairing.h"
#include "plugins/gnss/RouteCheck.h"
#include "plugins/gnss/SurveyVariant.h"

#include "hostfw/PartData.h"
#include "hostfw/gnss/CTab04712DB.h"
#include "hostfw/gnss/CTab04718DB.h"
#include "hostfw/gnss/CTab04735DB.h"
#include "hostfw/gnss/CTab04741DB.h"
#include "hostfw/gnss/CTab04744DB.h"
#include "hostfw/gnss/CTab04790DB.h"
#include "hostfw/gnss/GnssCheckFiles.h"
#include "hostfw/gnss/GnssRecordDb.h"
#include "hostfw/gnss/GnssRounding.h"
#include "hostfw/gnss/GnssWorkTable.h"
#include "hostfw/gnss/JGpsDupVur.h"
#include "hostfw/gnss/JGpsEktVur.h"
#include "hostfw/gnss/JGpsHyoVur.h"
#include "hostfw/gnss/JGpsKanVur.h"
#include "hostfw/gnss/JGpsSdcVur.h"
#include "hostfw/gnss/JGpsSidVur.h"
#include "hostfw/gnss/JGpsSuiVur.h"
#include "hostfw/gnss/NetDataMng.h"
#include "hostfw/gnss/StrList.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace mod04827 {

namespace {

// The conditions of the work, read once.
struct Conditions {
    explicit Conditions(int workKind)
        : sdc(workKind), sid(workKind), kan(workKind), dup(workKind), ekt(workKind), sui(workKind), hyo(workKind)
    {
    }
    JGpsSdcVur sdc;
    JGpsSidVur sid;
    JGpsKanVur kan;
    JGpsDupVur dup;
    JGpsEktVur ekt;
    JGpsSuiVur sui;
    JGpsHyoVur hyo;
};

bool KindFitsWork(int kind, const Conditions& c)
{
    if (c.sui.IsUse()) return kind == 1;
    if (c.hyo.IsUse3()) return kind == 2;
    if (c.hyo.IsUse4()) return kind == 3;
    return kind != 1 && kind != 2 && kind != 3;
}

// Every (N, E, U) answer of the work's parts of one sibling store.
template <class Db, class Reader>
bool CollectClosures(const Db& db, long workNo, Reader read, NeuMaxima& out)
{
    std::vector<DWORD> parts;
    if (!db.WorkParts(workNo, parts)) return false;
    std::vector<NeuTriple> answers;
    for (DWORD part : parts) {
        if (!read(db, part, answers)) return false;
        for (const NeuTriple& t : answers) out.Add(t.n, t.e, t.u);
    }
    return true;
}

double AdjustedLength(const NetDataMng::Baseline& b)
{
    double sum = 0.0;
    for (int i = 0; i < 3; ++i) {
        const double c = CmpMaru(CmpMaru(b.components[i] + b.corrections[i], 5, 0), 4, 0);
        sum += c * c;
    }
    return CmpMaru(std::sqrt(sum), 4, 0);
}

bool TakeFirstHalf(const GnssRecordDb::BaselineRecord& r, bool heightSurvey)
{
    if (r.type1 == 3 && r.type2 == 2) return false;
    if (heightSurvey) return r.recordClass == 5;
    if (r.recordClass == 3 || r.recordClass == 4 || r.recordClass == 5) return false;
    return r.halfFlag == 0;
}

bool TakeSecondHalf(const GnssRecordDb::BaselineRecord& r, bool heightSurvey)
{
    if (r.type1 == 3 && r.type2 == 2) return false;
    return heightSurvey ? r.recordClass == 4 : r.halfFlag == 1;
}

HalfBaseline ToHalf(const GnssRecordDb::BaselineRecord& r)
{
    HalfBaseline h;
    h.from = r.from;
    h.to = r.to;
    for (int i = 0; i < 3; ++i) {
        h.vector[i] = r.vector[i];
        h.position[i] = r.position[i];
    }
    return h;
}

bool CollectHalves(const PartSystem* handle, long workNo, bool heightSurvey, std::vector<HalfDifference>& out)
{
    GnssRecordDb db;
    if (db.d_open(workNo, handle) != 0) return false;
    HalfBaselinePairing pairing;
    GnssRecordDb::BaselineRecord r;
    for (int rc = db.d_keyfrst(GnssRecordDb::kBaselineKey); rc == 0; rc = db.d_keynext(GnssRecordDb::kBaselineKey)) {
        if (db.d_recread(r) == 0 && TakeFirstHalf(r, heightSurvey)) pairing.AddFirst(ToHalf(r));
    }
    for (int rc = db.d_keyfrst(GnssRecordDb::kBaselineKey); rc == 0; rc = db.d_keynext(GnssRecordDb::kBaselineKey)) {
        if (db.d_recread(r) == 0 && TakeSecondHalf(r, heightSurvey)) pairing.AddSecond(ToHalf(r));
    }
    db.d_close();
    out = pairing.Differences();
    return true;
}

}  // namespace

GnssConditionLoader::GnssConditionLoader(const Tab04827Data& data, PartSystem* handle) : m_data(data), m_handle(handle)
{
}

short GnssConditionLoader::Load()
{
    if (!m_handle) return kResultGeneralFailure;
    const long workNo = ReadWorkNo(m_data);
    WorkTbl work;
    if (!FindWork(m_handle, workNo, work)) return kResultGeneralFailure;

    const CTab04712DB knownDb(m_handle);
    const CTab04718DB pointDb(m_handle);
    Conditions c(work.workKind);
    for (JGpsVur* v : std::initializer_list<JGpsVur*>{&c.sdc, &c.sid, &c.kan, &c.dup, &c.ekt, &c.sui, &c.hyo}) {
        v->Init();
        v->ReadFrom(m_handle, workNo);
    }

    m_kind = ReadSurveyKind(m_data);
    if (!KindFitsWork(m_kind, c)) {
        StrList kinds;
        kinds.Load(StrList::WorkKindListPath());
        m_workKindName = kinds.Get(work.workKind);
        m_surveyKindName = std::string(mod04827::SurveyKindName(m_kind));
        return kResultKindMismatch;
    }
    const bool levelling = m_kind == 1;
    const bool elevation = m_kind == 2 || m_kind == 3;

    // Limits of the grade.
    m_limits.newPointHorizontalCm = c.sid.horizontalCm;
    m_limits.newPointHeightCm = c.sid.heightCm;
    m_limits.ringHorizontal = c.kan.Horizontal();
    m_limits.ringHeight = c.kan.Height();
    m_limits.duplicateHorizontal = c.dup.horizontal;
    m_limits.duplicateHeight = c.dup.height;
    m_limits.traverseA = c.ekt.a;
    m_limits.traverseB = c.ekt.b;
    m_limits.traverseC = c.ekt.c;
    m_limits.traverseD = c.ekt.d;
    if (levelling) {
        m_limits.halfHorizontal = c.sui.a;
        m_limits.halfHeight = c.sui.b;
        m_limits.knownClosure = c.sui.c;
        m_limits.slopeResidual = c.sui.d;
        m_limits.assumedClosure = c.sui.e;
        m_limits.assumedResidual = c.sui.f;
    } else if (elevation) {
        const JGpsHyoVur::Limits& l = m_kind == 2 ? c.hyo.class3 : c.hyo.class4;
        m_limits.halfHorizontal = l.a;
        m_limits.halfHeight = l.b;
        m_limits.knownClosure = l.c;
        m_limits.slopeResidual = l.d;
    }

    // Points of the work and the work's latest network definition.
    std::map<std::string, short> knownClasses;
    std::map<std::string, CTab04718DB::Point> points;
    if (!knownDb.Classes(workNo, knownClasses) || !pointDb.Points(workNo, points)) return kResultGeneralFailure;
    const CTab04790DB networkDb(m_handle);
    DWORD latestNetwork = 0;
    std::vector<CTab04790DB::PointRow> networkPoints;
    if (!networkDb.LatestWorkPart(workNo, latestNetwork)) return kResultGeneralFailure;
    if (latestNetwork != 0 && !networkDb.Points(latestNetwork, networkPoints)) return kResultGeneralFailure;

    // Known points of the network (known-point option 0).
    std::set<std::string> knownPoints;
    if (c.sid.knownPointOption == 0) {
        for (const auto& p : networkPoints) {
            const auto cls = knownClasses.find(p.name);
            if (cls != knownClasses.end() && cls->second == 4 && points.count(p.name)) knownPoints.insert(p.name);
        }
    }

    NetDataMng net1(workNo, m_handle);
    NetDataMng net0(workNo, m_handle);
    if (!c.hyo.IsUse()) net1.Calc(1);
    net0.Calc(0);

    // Slope-distance residuals of the network's baselines.
    PresentValue slope;
    for (const NetDataMng::Baseline& b : net0.Baselines()) {
        if (IsUnsetValue(b.distance)) continue;
        // Both terms have 4 decimals; rounding the difference keeps it a 4-decimal value
        // (a binary difference such as 0.0044999... would print as 4 mm, not 5 mm).
        const double residual = CmpMaru(AdjustedLength(b) - CmpMaru(b.distance, 4, 0), 4, 0);
        if (!slope.present || std::fabs(residual) > std::fabs(slope.value)) slope = {true, residual};
    }

    // New points' standard deviations, in point-number order.
    std::vector<std::pair<std::string, NewPointDeviation>> newPoints;
    for (const NetDataMng::Point& p : net0.Points()) {
        if (p.kind == 1 || knownPoints.count(p.name)) continue;
        NewPointDeviation d;
        d.kind = p.kind;
        d.horizontal = IsUnsetValue(p.sN) || IsUnsetValue(p.sE)
                           ? kUnsetValue
                           : CmpMaru(std::hypot(CmpMaru(p.sN, 5, 0), CmpMaru(p.sE, 5, 0)), 5, 0);
        d.height = IsUnsetValue(p.sU) ? kUnsetValue : CmpMaru(p.sU, 5, 0);
        newPoints.emplace_back(p.name, d);
    }
    std::stable_sort(newPoints.begin(), newPoints.end(),
                     [](const auto& a, const auto& b) { return CmpTeno(a.first, b.first) < 0; });
    for (const auto& p : newPoints) m_q.newPoints.push_back(p.second);

    if (!CollectHalves(m_handle, workNo, levelling || elevation, m_q.halves)) return kResultGeneralFailure;

    const CTab04735DB ringDb(m_handle);
    const CTab04741DB duplicateDb(m_handle);
    const CTab04744DB traverseDb(m_handle);
    if (!CollectClosures(ringDb, workNo, GetMod04735Ans, m_q.ring) ||
        !CollectClosures(duplicateDb, workNo, GetMod04741Ans, m_q.duplicate) ||
        !CollectClosures(traverseDb, workNo, GetMod04744Ans, m_q.traverse)) {
        return kResultGeneralFailure;
    }

    // Connecting traverses apply while the network's given points are traverse points.
    for (const auto& p : networkPoints) {
        if (p.kind != 1) continue;
        const auto found = points.find(p.name);
        if (found != points.end() && found->second.pointClass == 1) {
            m_q.traversesApply = true;
        } else {
            m_q.traversesApply = false;
            break;
        }
    }

    if (!levelling && !elevation) return kResultOk;

    // Ellipsoid-height closures of the routes between known points.
    std::map<std::string, double> referenceHeights;
    for (const auto& [name, cls] : knownClasses) {
        const auto p = points.find(name);
        if (cls == 4 && p != points.end()) referenceHeights.emplace(name, p->second.ellipsoidHeight);
    }
    std::vector<DWORD> routes;
    if (!traverseDb.WorkParts(workNo, routes)) return kResultGeneralFailure;
    for (DWORD address : routes) {
        PartData part;
        if (!traverseDb.Get(address, part, 0)) return kResultGeneralFailure;
        std::vector<RouteEntry> entries;
        const int n = CTab04744DB::GetRCnt(part);
        for (int i = 0; i < n; ++i) {
            CTab04744DB::RouteRow row;
            if (!CTab04744DB::GetR(part, i, row)) return kResultGeneralFailure;
            entries.push_back({row.active, row.from, row.to, row.heightDifference});
        }
        const RouteCheckResult r = CheckRoute(entries, referenceHeights, c.sui.IsUse());
        if (r.passed) m_q.knownClosures.push_back(r.closure);
    }

    // Known-point check files.
    std::vector<KzdtChkRecord> checked;
    std::vector<ShenChkRecord> results;
    if (ReadKzdtChk(FilePathOfKzdtChk(workNo), checked) != CheckFileStatus::Ok ||
        ReadShenChk(FilePathOfShenChk(workNo), results) != CheckFileStatus::Ok) {
        return kResultGeneralFailure;
    }
    const bool checkHadRecords = !checked.empty();
    if (levelling && !checkHadRecords && net1.HasResults()) return kResultKnownPointCheckMissing;

    if (elevation || checkHadRecords) m_q.slopeResidual = slope;
    if (levelling && checkHadRecords) {
        std::set<std::string> leftOut;
        for (const ShenChkRecord& r : results) {
            if (r.result == 0) leftOut.insert(r.name);
        }
        std::map<std::string, const NetDataMng::Point*> assumed;
        for (const NetDataMng::Point& p : net1.Points()) assumed.emplace(p.name, &p);
        for (const KzdtChkRecord& k : checked) {
            if (leftOut.count(k.name)) continue;
            const auto p = assumed.find(k.name);
            if (p == assumed.end() || p->second->kind == 1 || IsUnsetValue(p->second->height)) continue;
            double closure = CmpMaru(p->second->height, 4, 0) - CmpMaru(k.knownHeight, 4, 0);
            if (std::fabs(closure) <= 0.0005) closure = 0.0;
            m_q.assumedClosures.push_back(closure);
        }
        for (const NetDataMng::Baseline& b : net1.Baselines()) {
            for (double r : b.residuals) {
                if (IsUnsetValue(r)) continue;
                const double v = CmpMaru(CmpNetMaru(0, r), 4, 0);
                if (!m_q.assumedResidual.present || std::fabs(v) > std::fabs(m_q.assumedResidual.value)) {
                    m_q.assumedResidual = {true, v};
                }
            }
        }
    }
    return kResultOk;
}

}  // namespace mod04827

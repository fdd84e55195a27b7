#include "plugins/gnss/GnssTextBuilder.h"

#include "hostfw/gnss/GnssRounding.h"
#include "plugins/common/PrintedValue.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <cmath>

namespace mod04827 {

namespace {

std::string Int(int v)
{
    return std::to_string(v);
}

// Millimetres of a value in metres, printed without decimals.
std::string Mm0(double metres)
{
    return tessara::FormatFixed(plugcommon::ScaleByPowerOfTen(metres, 3), 0);
}

}  // namespace

std::string FillPattern(std::string_view pattern, std::initializer_list<std::string> values)
{
    std::string out;
    auto next = values.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 'd' || pattern[i + 1] == 's')) {
            if (next != values.end()) out += *next++;
            ++i;
            continue;
        }
        out += pattern[i];
    }
    return out;
}

PresentValue LargestClosure(const std::vector<double>& closures)
{
    PresentValue best;
    for (double c : closures) {
        if (IsUnsetValue(c)) continue;
        double v = std::fabs(c) <= 0.0005 ? 0.0 : c;
        v = CmpMaru(CmpMaru(v, 4, 0), 4, 0);
        if (!best.present || std::fabs(v) > std::fabs(best.value)) {
            best.present = true;
            best.value = v;
        }
    }
    return best;
}

GnssTextBuilder::GnssTextBuilder(int surveyKind, const std::array<short, 5>& switches,
                                 const GnssLimits& limits, const GnssQuantities& quantities)
    : m_kind(surveyKind), m_switches(switches), m_limits(limits), m_q(quantities)
{
}

GnssTexts GnssTextBuilder::Build() const
{
    GnssTexts out;
    if (m_kind == 1)
        BuildLevelling(out);
    else if (m_kind == 2 || m_kind == 3)
        BuildElevation(out);
    else
        BuildControl(out);
    return out;
}

void GnssTextBuilder::BuildControl(GnssTexts& out) const
{
    const GnssLimits& l = m_limits;
    const bool traverses = m_q.traversesApply;
    if (!Manual(1)) {
        out.requirements.push_back(FillPattern("(絶対)新点水平位置の標準偏差が%dcm以内、新点標高の標準偏差が%dcm以内",
                                               {Int(l.newPointHorizontalCm), Int(l.newPointHeightCm)}));
        out.requirements.push_back(FillPattern("(相対)基線ベクトルの環閉合差が水平%dmm√N以内、高さが%dmm√N以内、",
                                               {Int(l.ringHorizontal), Int(l.ringHeight)}));
        out.requirements.push_back(FillPattern("重複する基線ベクトルの較差が水平%dmm以内、高さ%dmm以内",
                                               {Int(l.duplicateHorizontal), Int(l.duplicateHeight)}));
        if (traverses) {
            out.requirements.push_back(
                FillPattern("結合多角又は単路線の閉合差が水平%dmm+%dmm√N以内、高さが%dmm+%dmm√N以内",
                            {Int(l.traverseA), Int(l.traverseB), Int(l.traverseC), Int(l.traverseD)}));
        }
    }
    if (!Manual(2)) {
        out.absoluteRequirement = FillPattern("新点水平位置の\r\n標準偏差が%dcm以内、\r\n新点標高の\r\n標準偏差が%dcm以内",
                                              {Int(l.newPointHorizontalCm), Int(l.newPointHeightCm)});
    }
    if (!Manual(4)) {
        out.relativeRequirements.push_back(FillPattern("基線ベクトルの環閉合差が\r\n水平%dmm√N以内、\r\n高さが%dmm√N以内、",
                                                       {Int(l.ringHorizontal), Int(l.ringHeight)}));
        out.relativeRequirements.push_back(FillPattern("重複する基線ベクトルの較差が\r\n水平%dmm以内、高さ%dmm以内",
                                                       {Int(l.duplicateHorizontal), Int(l.duplicateHeight)}));
        if (traverses) {
            out.relativeRequirements.push_back(
                FillPattern("結合多角又は単路線の閉合差\r\nが水平%dmm＋%dmm√N以内、高さが%dmm＋%dmm√N以内",
                            {Int(l.traverseA), Int(l.traverseB), Int(l.traverseC), Int(l.traverseD)}));
        }
    }
    if (!Manual(3) && !m_q.newPoints.empty()) {
        double maxH = 0.0;
        double maxV = 0.0;
        for (const NewPointDeviation& p : m_q.newPoints) {
            if (p.kind != 2 && !IsUnsetValue(p.horizontal)) maxH = std::max(maxH, std::fabs(p.horizontal));
            if (p.kind != 3 && !IsUnsetValue(p.height)) maxV = std::max(maxV, std::fabs(p.height));
        }
        out.absoluteResult = FillPattern("水平位置の標準偏差%scm、\r\n標高の標準偏差%scm",
                                         {tessara::FormatFixed(plugcommon::ScaleByPowerOfTen(maxH, 2), 1),
                                          tessara::FormatFixed(plugcommon::ScaleByPowerOfTen(maxV, 2), 1)});
    }
    if (!Manual(5)) {
        const auto add = [&out](std::string_view pattern, const NeuMaxima& m) {
            if (m.Count() <= 0) return;
            const double h = CmpMaru(plugcommon::ScaleByPowerOfTen(std::max(m.MaxN(), m.MaxE()), 3), 1, 0);
            const double v = CmpMaru(plugcommon::ScaleByPowerOfTen(m.MaxU(), 3), 1, 0);
            out.relativeResults.push_back(
                FillPattern(pattern, {tessara::FormatFixed(h, 0), tessara::FormatFixed(v, 0)}));
        };
        add("基線ベクトルの環閉合差水平%smm、高さ%smm", m_q.ring);
        add("重複する基線ベクトルの較差水平%smm、高さ%smm", m_q.duplicate);
        if (traverses) add("結合多角の閉合差水平%smm、高さ%smm", m_q.traverse);
    }
}

void GnssTextBuilder::AddHalfAndKnownResults(GnssTexts& out) const
{
    double maxH = 0.0;
    double maxV = 0.0;
    int counted = 0;
    for (const HalfDifference& h : m_q.halves) {
        if (!h.valid || !h.used) continue;
        if (IsUnsetValue(h.dN) || IsUnsetValue(h.dE) || IsUnsetValue(h.dU)) continue;
        const double dn = CmpMaru(h.dN, 4, 0);
        const double de = CmpMaru(h.dE, 4, 0);
        const double du = CmpMaru(h.dU, 4, 0);
        maxH = std::max({maxH, std::fabs(dn), std::fabs(de)});
        maxV = std::max(maxV, std::fabs(du));
        ++counted;
    }
    if (counted > 0) {
        out.relativeResults.push_back(FillPattern("観測データ前後半の基線ベクトルの較差：\r\n水平：%smm\r\n高さ：%smm\r\n",
                                                  {Mm0(maxH), Mm0(maxV)}));
    }
    const PresentValue known = LargestClosure(m_q.knownClosures);
    if (known.present) {
        out.relativeResults.push_back(
            FillPattern("既知点間の楕円体高\r\nの閉合差：%smm\r\n", {Mm0(std::fabs(known.value))}));
    }
}

void GnssTextBuilder::AddSlopeResult(GnssTexts& out) const
{
    if (!m_q.slopeResidual.present || IsUnsetValue(m_q.slopeResidual.value)) return;
    const double mm = Round(plugcommon::ScaleByPowerOfTen(std::fabs(m_q.slopeResidual.value), 3), 0, 5);
    out.relativeResults.push_back(
        FillPattern("三次元網平均計算における斜距離の残差：%smm", {tessara::FormatFixed(mm, 0)}));
}

void GnssTextBuilder::BuildElevation(GnssTexts& out) const
{
    const GnssLimits& l = m_limits;
    const bool known = !m_q.knownClosures.empty();
    if (!Manual(1)) {
        out.requirements.push_back("①点検計算、②三次元平均計算の結果が以下の範囲なら合格");
        out.requirements.push_back(FillPattern("①点検計算\r\n・観測データ前後半の基線ベクトルの較差が水平%dmm、高さが%dmm",
                                               {Int(l.halfHorizontal), Int(l.halfHeight)}));
        if (known) out.requirements.push_back(FillPattern("・既知点間の楕円体高の閉合差%d㎜√ΣS", {Int(l.knownClosure)}));
        out.requirements.push_back(FillPattern("②三次元網平均計算\r\n・斜距離の残差%d㎜", {Int(l.slopeResidual)}));
    }
    if (!Manual(2)) out.absoluteRequirement = "－";
    if (!Manual(3)) out.absoluteResult = "－";
    if (!Manual(4)) {
        out.relativeRequirements.push_back(
            FillPattern("観測データ前後半の基線ベクトルの較差：\r\n水平（ΔＮ、ΔＥ）　%dmm以内\r\n高さ(ΔＵ)　%dmm以内",
                        {Int(l.halfHorizontal), Int(l.halfHeight)}));
        if (known) {
            out.relativeRequirements.push_back(
                FillPattern("既知点間の楕円体高の閉合差：\r\n%dmm√ΣS以内", {Int(l.knownClosure)}));
        }
        out.relativeRequirements.push_back(
            FillPattern("三次元網平均計算における斜距離の残差：\r\n%dmm以内", {Int(l.slopeResidual)}));
    }
    if (!Manual(5)) {
        AddHalfAndKnownResults(out);
        AddSlopeResult(out);
    }
}

void GnssTextBuilder::BuildLevelling(GnssTexts& out) const
{
    const GnssLimits& l = m_limits;
    const bool known = !m_q.knownClosures.empty();
    const bool assumed = !m_q.assumedClosures.empty();
    const bool residual = assumed && m_q.assumedResidual.present;
    if (!Manual(1)) {
        out.requirements.push_back("①点検計算、②三次元平均計算の結果が以下の範囲なら合格");
        out.requirements.push_back(FillPattern("①点検計算\r\n・観測データ前後半の基線ベクトルの較差が水平%dmm、高さが%dmm",
                                               {Int(l.halfHorizontal), Int(l.halfHeight)}));
        if (known) out.requirements.push_back(FillPattern("・既知点間の楕円体高の閉合差%d㎜√S", {Int(l.knownClosure)}));
        if (assumed) {
            out.requirements.push_back(
                FillPattern("・仮定三次元網平均計算における楕円体高の閉合差%d㎜√S", {Int(l.assumedClosure)}));
            if (residual) {
                out.requirements.push_back(FillPattern("・仮定三次元網平均計算における基線ベクトルの各成分の残差%d㎜",
                                                       {Int(l.assumedResidual)}));
            }
        }
        out.requirements.push_back(FillPattern("②三次元網平均計算\r\n・斜距離の残差%d㎜", {Int(l.slopeResidual)}));
    }
    if (!Manual(2)) out.absoluteRequirement = "－";
    if (!Manual(3)) out.absoluteResult = "－";
    if (!Manual(4)) {
        out.relativeRequirements.push_back(
            FillPattern("観測データ前後半の基線ベクトルの較差：\r\n水平（ΔＮ、ΔＥ）　%dmm以内\r\n高さ(ΔＵ)　%dmm以内",
                        {Int(l.halfHorizontal), Int(l.halfHeight)}));
        if (known) {
            out.relativeRequirements.push_back(
                FillPattern("既知点間の楕円体高の閉合差：\r\n%dmm√S以内", {Int(l.knownClosure)}));
        }
        if (assumed) {
            out.relativeRequirements.push_back(
                FillPattern("仮定三次元網平均計算における楕円体高の閉合差：\r\n%dmm√S以内", {Int(l.assumedClosure)}));
            if (residual) {
                out.relativeRequirements.push_back(FillPattern(
                    "仮定三次元網平均計算における基線ベクトル各成分の残差：\r\n%dmm以内", {Int(l.assumedResidual)}));
            }
        }
        out.relativeRequirements.push_back(
            FillPattern("三次元網平均計算における斜距離の残差：\r\n%dmm以内", {Int(l.slopeResidual)}));
    }
    if (!Manual(5)) {
        AddHalfAndKnownResults(out);
        const PresentValue closure = LargestClosure(m_q.assumedClosures);
        if (closure.present) {
            out.relativeResults.push_back(FillPattern("仮定三次元網平均計算における楕円体高の閉合差：%smm\r\n",
                                                      {Mm0(std::fabs(closure.value))}));
        }
        if (m_q.assumedResidual.present && !IsUnsetValue(m_q.assumedResidual.value)) {
            const double mm = Round(plugcommon::ScaleByPowerOfTen(std::fabs(m_q.assumedResidual.value), 3), 0, 5);
            out.relativeResults.push_back(FillPattern("仮定三次元網平均計算における基線ベクトルの各成分の残差：%smm\r\n",
                                                      {tessara::FormatFixed(mm, 0)}));
        }
        AddSlopeResult(out);
    }
}

}  // namespace mod04827

#include "viewer/render/ViewSettingsStore.h"

#include <cmath>
#include <string>

#include "platform/IProfile.h"
#include "viewer/render/ViewSettings.h"

namespace {

constexpr COLORREF Rgb(unsigned r, unsigned g, unsigned b)
{
    return r | (g << 8) | (b << 16);
}

// One direction of the key table: the same list of keys serves reading and
// writing, so the two cannot drift apart.
class Pass {
public:
    Pass(tessara::IProfile& profile, bool load) : m_profile(profile), m_load(load) {}

    // An int field whose stored value must lie in [low, high]; anything else reads
    // as the default.
    template <typename T>
    void Int(const char* key, T& field, long long low, long long high, T fallback)
    {
        if (!m_load) {
            m_profile.WriteProfileInt(ViewSettingsStore::kSection, key, static_cast<int>(field));
            return;
        }
        const int value = m_profile.GetProfileInt(ViewSettingsStore::kSection, key, static_cast<int>(fallback));
        field = (value >= low && value <= high) ? static_cast<T>(value) : fallback;
    }

    // A switch or value the program reads only as zero / non-zero.
    template <typename T>
    void Any(const char* key, T& field, T fallback)
    {
        Int(key, field, -2147483647LL - 1, 2147483647LL, fallback);
    }

    void Colour(const char* key, COLORREF& field, COLORREF fallback)
    {
        if (!m_load) {
            m_profile.WriteProfileInt(ViewSettingsStore::kSection, key, static_cast<int>(field));
            return;
        }
        const int value = m_profile.GetProfileInt(ViewSettingsStore::kSection, key, static_cast<int>(fallback));
        field = (value >= 0 && value <= 0xFFFFFF) ? static_cast<COLORREF>(value) : fallback;
    }

    // What a double must be besides finite.
    enum class Floor { Any, NotNegative, Positive };

    void Double(const char* key, double& field, double fallback, Floor floor)
    {
        if (!m_load) {
            m_profile.WriteProfileDouble(ViewSettingsStore::kSection, key, field);
            return;
        }
        const double value = m_profile.GetProfileDouble(ViewSettingsStore::kSection, key, fallback);
        const bool ok = std::isfinite(value) && (floor == Floor::Any || value >= 0.0) &&
                        (floor != Floor::Positive || value > 0.0);
        field = ok ? value : fallback;
    }

    // The point size index: 0..4; a value of 5..9, which older versions could
    // store, stands for that value less 5.
    void PointSize(const char* key, short& field, short fallback)
    {
        if (!m_load) {
            m_profile.WriteProfileInt(ViewSettingsStore::kSection, key, field);
            return;
        }
        int value = m_profile.GetProfileInt(ViewSettingsStore::kSection, key, fallback);
        if (value > 4 && value <= 9) value -= 5;
        field = (value >= 0 && value <= 4) ? static_cast<short>(value) : fallback;
    }

    bool Loading() const { return m_load; }
    tessara::IProfile& Profile() { return m_profile; }

private:
    tessara::IProfile& m_profile;
    bool m_load;
};

constexpr long long kIntMax = 2147483647LL;

void Transfer(Pass& p, ViewSettings& s, short& pointColourMode, int& newGroupOnRegister)
{
    using F = Pass::Floor;
    const ViewSettings d;   // designed defaults
    XTinOption& tin = s.tinOption;
    p.Int("DrawTinOpReduceMode", tin.m_nPolyRdcsplMode, 0, 100, d.tinOption.m_nPolyRdcsplMode);
    p.Any("DrawTinOpConsiderBrkln", tin.m_nConsiderBreakLineSw, d.tinOption.m_nConsiderBreakLineSw);
    p.Any("DrawTinOpRemoveExctri", tin.m_nRemoveExcessiveTriangleSw, d.tinOption.m_nRemoveExcessiveTriangleSw);
    p.Double("DrawTinOpExcTrilen", tin.m_dExcessiveTriangleLength, 100.0, F::Positive);

    p.Int("FaceMsIndex", s.materialIndex, 0, 24, d.materialIndex);
    p.Any("Texture_Cad", s.drawHostCad, d.drawHostCad);
    p.Any("Texture_Part", s.drawHostPart, d.drawHostPart);
    p.Any("Texture_Map", s.hostMapTexture, d.hostMapTexture);
    p.Any("LigthColor", s.paleSlopeFill, d.paleSlopeFill);
    p.Any("FaceMaterial", s.materialToBackground, d.materialToBackground);

    p.Any("ViewPaper", s.paper, d.paper);
    p.Any("ViewGrid", s.grid, d.grid);
    p.Any("ViewAxis", s.axis, d.axis);
    p.Any("ViewXYZ", s.xyzMark, d.xyzMark);
    p.Any("ViewDIR", s.compassMark, d.compassMark);
    p.Any("ViewSize", s.sizeCaption, d.sizeCaption);
    p.Int("Viewgradation", s.gradationFlag, -32768, 32767, d.gradationFlag);
    p.Int("Viewpickmode", s.pickMode, 0, 3, d.pickMode);
    p.PointSize("ViewPointSize", s.pointSizeIndex, d.pointSizeIndex);

    if (p.Loading()) {
        // The older key's colour index decides the default of the newer colour key.
        const int legacy = static_cast<short>(
            p.Profile().GetProfileInt(ViewSettingsStore::kSection, "ViewPointColor", 0));
        p.Colour("ViewPointCol", s.pointColour, ViewSettingsStore::LegacyPointColour(legacy));
    } else {
        p.Colour("ViewPointCol", s.pointColour, d.pointColour);
    }
    p.Int("ViewColorBright", s.colourBrightness, -100, 100, d.colourBrightness);
    p.Int("ViewCorrectionHint", s.pointDisplayType, -32768, 32767, d.pointDisplayType);
    p.Int("ViewPectiveEx", s.projection, -32768, 32767, d.projection);
    p.Int("ViewDepthAlways", s.depthMode, -32768, 32767, d.depthMode);
    p.Int("ViewLnWidthCad", s.cadLineWidthIndex, 0, 32767, d.cadLineWidthIndex);
    p.Int("ViewLnWidthPart", s.partLineWidthIndex, 0, 32767, d.partLineWidthIndex);
    p.Any("ViewUnsetExclusion", s.hideFiguresWithoutZ, d.hideFiguresWithoutZ);

    p.Int("psKeyGlViewPointRenderMode", pointColourMode, 0, 5, static_cast<short>(0));

    p.Colour("psKeyGlViewCadEditColor", s.cadEditColour, d.cadEditColour);
    for (int i = 0; i < 16; ++i) {
        const std::string key = "psKeyGlViewCadEditCustomColor" + std::to_string(i);
        p.Colour(key.c_str(), s.customColours[i], d.customColours[i]);
    }

    p.Int("psKeyGlViewDeleteMode", s.deleteMode, 0, 2, d.deleteMode);
    p.Int("psKeyGlViewDeleteHightMode", s.elevationDeleteMode, 0, 1, d.elevationDeleteMode);
    p.Double("psKeyGlViewDeleteHightValue1", s.elevationBound1, d.elevationBound1, F::Any);
    p.Double("psKeyGlViewDeleteHightValue2", s.elevationBound2, d.elevationBound2, F::Any);
    p.Int("psKeyGlViewMouseDrag", s.mouseType, 0, 1, d.mouseType);

    static const char* const kCellKeys[9] = {
        "psKeyGlViewSampleVur_lx",    "psKeyGlViewSampleVur_ly",    "psKeyGlViewSampleVur_lz",
        "psKeyGlViewSampleVur_lminx", "psKeyGlViewSampleVur_lminy", "psKeyGlViewSampleVur_lminz",
        "psKeyGlViewSampleVur_lmaxx", "psKeyGlViewSampleVur_lmaxy", "psKeyGlViewSampleVur_lmaxz"};
    std::array<double, 3>* cells[3] = {&s.gridCellM, &s.lowestCellM, &s.highestCellM};
    for (int i = 0; i < 9; ++i) p.Double(kCellKeys[i], (*cells[i / 3])[i % 3], 0.5, F::Positive);
    p.Double("psKeyGlViewSampleVur_radius", s.radiusM, d.radiusM, F::Positive);
    p.Double("psKeyGlViewSampleVur_stddev", s.standardDeviation, d.standardDeviation, F::Positive);
    p.Int("psKeyGlViewSampleVur_min_pts", s.minimumPoints, 1, kIntMax, d.minimumPoints);
    p.Int("psKeyGlViewSampleVur_nr_k", s.neighbourCount, 1, kIntMax, d.neighbourCount);

    p.Int("psKeyGlViewEditPCloudGrpNew", newGroupOnRegister, 0, 1, 0);

    p.Any("psKeyGlViewAlignmentMode", s.windowAlignment, d.windowAlignment);
    p.Any("psKeySplitBreakline", s.splitBreakLines, d.splitBreakLines);
    p.Double("psKeySplitPitch", s.splitPitchM, d.splitPitchM, F::Positive);
    p.Any("psKeyFlatBreakline", s.flattenParallelBreakLines, d.flattenParallelBreakLines);
    p.Double("psKeyFlatRange", s.parallelDistanceM, d.parallelDistanceM, F::Positive);
    p.Int("psKeyBackColor", s.background, -32768, 32767, d.background);
    p.Int("psDrawmaxTinMakePsize", s.tinPointLimit, 1, 100, d.tinPointLimit);

    p.Int("psKeySaveLimitMode", s.lasSplitMode, 0, 2, 0);
    p.Int("psKeyLimiFileSize", s.lasSizeLimitMb, 1, kIntMax, 200);
    p.Int("psKeyLimiPointSize", s.lasCountLimit, 1, kIntMax, 100);
    p.Int("psKeySaveImgMode", s.imageMode, 0, 255, d.imageMode);
    p.Int("psKeySaveImgKind", s.imageKind, 0, 255, d.imageKind);
    p.Int("psKeySaveImgDotSize", s.imageDotSize, 1, 255, d.imageDotSize);

    p.Any("psKeyLevelDistance", s.showPlaneDistance, d.showPlaneDistance);
    p.Any("psKeySlopeDistance", s.showSlopeDistance, d.showSlopeDistance);
    p.Any("psKeyHeigthDistance", s.showHeightDifference, d.showHeightDifference);

    if (p.Loading()) s.gradation.LoadGradationSetting(p.Profile());

    p.Any("psKeyTargetTin", s.sectionThroughTins, d.sectionThroughTins);
    p.Any("psKeyTargetPoint", s.sectionThroughPoints, d.sectionThroughPoints);
    p.Double("psKeyOfset", s.sectionDirectionToleranceM, d.sectionDirectionToleranceM, F::Positive);
    // The cross-section dialog takes 0: every point, however close to the previous.
    p.Double("psKeyPrevDistance", s.sectionPointSpacingM, d.sectionPointSpacingM, F::NotNegative);
    p.Any("psKeyDrawBackGradation", s.backgroundGradient, d.backgroundGradient);
}

}  // namespace

unsigned ViewSettingsStore::LegacyPointColour(int index)
{
    switch (index) {
    case 0:
        return Rgb(150, 0, 0);
    case 1:
        return Rgb(0, 150, 150);
    case 2:
        return Rgb(0, 150, 0);
    default:
        return Rgb(102, 100, 100);
    }
}

void ViewSettingsStore::Load(tessara::IProfile& profile, ViewSettings& settings, short& pointColourMode,
                             int& newGroupOnRegister)
{
    Pass pass(profile, true);
    Transfer(pass, settings, pointColourMode, newGroupOnRegister);
}

void ViewSettingsStore::Save(tessara::IProfile& profile, const ViewSettings& settings, short pointColourMode,
                             int newGroupOnRegister)
{
    // The transfer table takes references; writing only reads through them.
    ViewSettings copy = settings;
    Pass pass(profile, false);
    Transfer(pass, copy, pointColourMode, newGroupOnRegister);
}

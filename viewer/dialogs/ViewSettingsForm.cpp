#include "viewer/dialogs/ViewSettingsForm.h"

#include "viewer/render/ViewSettings.h"

ViewSettingsForm ViewSettingsForm::Load(ViewSettings& s, const ReductionModes& modes)
{
    if (s.pointSizeIndex > 4)
        s.pointSizeIndex = static_cast<short>(s.pointSizeIndex - 5);
    if (s.pointSizeIndex > 4)
        s.pointSizeIndex = 0;
    const ViewSettings defaults;
    ViewSettingsForm f;
    f.pointSize = ItemOrDefault(s.pointSizeIndex, kPointSizes, defaults.pointSizeIndex);
    f.displayType = ItemOrDefault(s.pointDisplayType, kDisplayTypes, defaults.pointDisplayType);
    f.pointColour = s.pointColour;
    f.brightness = s.colourBrightness < -100 ? -100 : (s.colourBrightness > 100 ? 100 : s.colourBrightness);
    f.cadLineWidth = ItemOrDefault(s.cadLineWidthIndex, kLineWidths, defaults.cadLineWidthIndex);
    f.partLineWidth = ItemOrDefault(s.partLineWidthIndex, kLineWidths, defaults.partLineWidthIndex);
    f.projection = ItemOrDefault(s.projection, kProjections, defaults.projection);
    // The view draws every value but 0 and 1 white.
    f.background = (s.background == 0 || s.background == 1) ? s.background : 2;
    f.gradient = s.backgroundGradient != 0;
    f.hideNearPoints = s.depthMode != 1;
    f.hideWithoutZ = s.hideFiguresWithoutZ != 0;
    f.material = ItemOrDefault(s.materialIndex, kMaterials, defaults.materialIndex);
    f.paleSlope = s.paleSlopeFill != 0;
    f.mouseType = s.mouseType == 0 ? 0 : 1;
    f.reduceItem = modes.ItemOf(s.tinOption.m_nPolyRdcsplMode);
    f.considerBreakLines = s.tinOption.m_nConsiderBreakLineSw != 0;
    f.removeTriangles = s.tinOption.m_nRemoveExcessiveTriangleSw != 0;
    f.maxEdgeM = s.tinOption.m_dExcessiveTriangleLength;
    f.splitBreakLines = s.splitBreakLines != 0;
    f.splitPitchM = s.splitPitchM;
    f.flatBreakLines = s.flattenParallelBreakLines != 0;
    f.flatRangeM = s.parallelDistanceM;
    f.materialToBackground = s.materialToBackground != 0;
    f.hostCad = s.drawHostCad != 0;
    f.hostPart = s.drawHostPart != 0;
    f.pickMode = ItemOrDefault(s.pickMode, 4, defaults.pickMode);
    f.tinPointLimit = s.tinPointLimit;
    f.alignment = s.windowAlignment == 1 ? 1 : (s.windowAlignment == 0 ? 0 : -1);
    return f;
}

void ViewSettingsForm::WriteBack(ViewSettings& s, const ReductionModes& modes) const
{
    s.pointSizeIndex = static_cast<short>(pointSize);
    s.pointDisplayType = static_cast<short>(displayType);
    s.pointColour = pointColour;
    s.colourBrightness = brightness;
    s.cadLineWidthIndex = static_cast<short>(cadLineWidth);
    s.partLineWidthIndex = static_cast<short>(partLineWidth);
    s.projection = static_cast<short>(projection);
    s.background = static_cast<short>(background);
    s.depthMode = hideNearPoints ? 0 : 1;
    s.hideFiguresWithoutZ = hideWithoutZ ? 1 : 0;
    s.materialIndex = static_cast<short>(material);
    s.paleSlopeFill = paleSlope ? 1 : 0;
    s.mouseType = static_cast<short>(mouseType);
    s.tinOption.m_nPolyRdcsplMode = modes.LevelOf(reduceItem);
    s.tinOption.m_nConsiderBreakLineSw = considerBreakLines ? 1 : 0;
    s.tinOption.m_nRemoveExcessiveTriangleSw = removeTriangles ? 1 : 0;
    s.tinOption.m_dExcessiveTriangleLength = maxEdgeM;
    s.splitBreakLines = splitBreakLines ? 1 : 0;
    s.splitPitchM = splitPitchM;
    s.flattenParallelBreakLines = flatBreakLines ? 1 : 0;
    s.parallelDistanceM = flatRangeM;
    s.materialToBackground = materialToBackground ? 1 : 0;
    s.drawHostCad = hostCad ? 1 : 0;
    s.drawHostPart = hostPart ? 1 : 0;
    s.pickMode = static_cast<short>(pickMode);
    s.tinPointLimit = tinPointLimit;
    if (alignment == 0 || alignment == 1)
        s.windowAlignment = alignment;
    s.backgroundGradient = gradient ? 1 : 0;
}

void ViewSettingsForm::ResetToDefaults(ViewSettings& s)
{
    ViewSettings d;
    d.cadSwitch = s.cadSwitch;
    d.partSwitch = s.partSwitch;
    d.tinEdgeSwitch = s.tinEdgeSwitch;
    d.tinPointSwitch = s.tinPointSwitch;
    d.tinPictureMode = s.tinPictureMode;
    d.paper = s.paper;
    d.grid = s.grid;
    d.axis = s.axis;
    d.xyzMark = s.xyzMark;
    d.compassMark = s.compassMark;
    d.sizeCaption = s.sizeCaption;
    // The store holds the user's gradations as loaded; a fresh one never read them.
    d.gradation = s.gradation;
    d.tinOption.m_nPolyRdcsplMode = 1;
    d.tinOption.m_nConsiderBreakLineSw = 0;
    d.tinOption.m_nRemoveExcessiveTriangleSw = 0;
    d.tinOption.m_dExcessiveTriangleLength = 100.0;
    s = d;
}

std::string ViewSettingsForm::BrightnessLabel(int value)
{
    return (value > 0 ? "+" : "") + std::to_string(value);
}

int ViewSettingsForm::ItemOrDefault(int value, int count, int defaultItem)
{
    return value >= 0 && value < count ? value : defaultItem;
}

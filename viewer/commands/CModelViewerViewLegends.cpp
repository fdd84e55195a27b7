// The legend windows the display commands open beside the view.

#include "viewer/render/CModelViewerView.h"

#include <vector>

#include "outside/CGradationSetting.h"
#include "viewer/dialogs/LegendSlots.h"

namespace {

// The view's background as the legends take it (0x00BBGGRR).
COLORREF LegendBackground(short background)
{
    const QColor colour = CModelViewerView::BackgroundColourOf(background);
    return static_cast<COLORREF>(colour.red()) | static_cast<COLORREF>(colour.green()) << 8 |
           static_cast<COLORREF>(colour.blue()) << 16;
}

std::vector<ColorConf> CurrentStops(const CGradationSetting& gradation)
{
    const std::vector<ColorConf>* stops = gradation.GetCurColorConf();
    return stops != nullptr ? *stops : std::vector<ColorConf>{};
}

}  // namespace

void CModelViewerView::ShowElevationLegendWindow(double top, double bottom)
{
    ShowElevationLegend(this, LegendBackground(m_settings.background), top, bottom,
                        CurrentStops(m_settings.gradation));
}

void CModelViewerView::ShowSlopeLegendWindow()
{
    ShowSlopeLegend(this, LegendBackground(m_settings.background), m_settings.paleSlopeFill);
}

void CModelViewerView::ShowIntensityLegendWindow()
{
    ShowIntensityLegend(this, LegendBackground(m_settings.background), CurrentStops(m_settings.gradation));
}

void CModelViewerView::LayOutLegendWindows()
{
    LayoutLegendWindows();
}

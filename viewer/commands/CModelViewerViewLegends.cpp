// The legend windows the display commands open beside the view.

#include "viewer/render/CModelViewerView.h"

void CModelViewerView::ShowElevationLegendWindow(double, double) {}
void CModelViewerView::ShowSlopeLegendWindow() {}
void CModelViewerView::ShowIntensityLegendWindow() {}
void CModelViewerView::LayOutLegendWindows() {}

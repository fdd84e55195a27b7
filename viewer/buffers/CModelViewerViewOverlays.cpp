// The orientation aids of the overlay layer: the axis triad and the orientation cube.
#include "viewer/render/CModelViewerView.h"

void CModelViewerView::DrawAxisTriad() {}
void CModelViewerView::DrawOrientationCube() {}

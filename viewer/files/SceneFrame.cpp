#include "viewer/files/SceneFrame.h"

void SceneFrame::Clear()
{
    for (PT& c : corners) c = PT(1e-16, 1e-16, 1e-16);
    cornersSet = 0;
    transformSet = 0;
    value1 = 0;
    value2 = 0;
    baseElevation = 1e-16;
    value3 = 1e-16;
    surveyTransform = MTRX();
    surveyTransform.Axis();
    sectionTransform = MTRX();
    baseElevationMode = 0;
}

#include "outside/CModelDataMng.h"

template <class KeepFn>
int CModelDataMng::FilterShownGroups(KeepFn&& computeKeep, const OutsideProgressFn& progress)
{
    (void)computeKeep;
    (void)progress;
    return 0;
}

int CModelDataMng::FilterPointGridFilter(float, float, float, const OutsideProgressFn&) { return 0; }
int CModelDataMng::FilterPointGridFilter_GridMinZ(float, float, float, const OutsideProgressFn&) { return 0; }
int CModelDataMng::FilterPointGridFilter_GridMaxZ(float, float, float, const OutsideProgressFn&) { return 0; }
int CModelDataMng::FilterPointRadius(float, int, const OutsideProgressFn&) { return 0; }
int CModelDataMng::FilterPointOutlierRemoval(int, float, const OutsideProgressFn&) { return 0; }

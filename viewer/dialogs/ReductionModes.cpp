#include "viewer/dialogs/ReductionModes.h"

#include "outside/CCalcTIN.h"

ReductionModes ReductionModes::FromGenerator()
{
    ReductionModes modes;
    const int count = CCalcTIN::GetPolyRdcsplModeCount();
    for (int i = 0; i < count; ++i) {
        modes.texts.push_back(CCalcTIN::GetPolyRdcsplModeText(i));
        modes.levels.push_back(CCalcTIN::GetPolyRdcsplModeLevel(i));
    }
    return modes;
}

int ReductionModes::ItemOf(int level) const
{
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] == level)
            return static_cast<int>(i);
    }
    return levels.empty() ? -1 : 0;
}

int ReductionModes::LevelOf(int item) const
{
    if (item < 0 || item >= static_cast<int>(levels.size()))
        return 3;
    return levels[static_cast<std::size_t>(item)];
}

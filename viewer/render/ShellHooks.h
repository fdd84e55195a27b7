#pragma once

#include <functional>

// Functions of other parts of the program that the frame and the view call:
// the close functions of the legend pop-ups and measurement hints (filled by the
// dialogs) and the About box (filled by the application). An empty slot does nothing.
struct ShellHooks {
    std::function<bool()> closeElevationLegend;
    std::function<bool()> closeSlopeLegend;
    std::function<bool()> closeIntensityLegend;
    std::function<void()> closeDistanceToolTips;
    std::function<void()> closeListHint;
    std::function<void()> closeSectionToolTips;
    // The summed widths (pixels) of the legend pop-ups that are open, kept clear by
    // the axis triad; empty answers 0.
    std::function<int()> legendColumnWidths;
    //! legendColumnWidths, or 0 while nobody filled it.
    int LegendColumnWidths() const { return legendColumnWidths ? legendColumnWidths() : 0; }
    // The modal About box; filled by the application at start-up.
    std::function<void()> showAboutDialog;

    //! The one set of the process (UI thread only).
    static ShellHooks& Instance();
};

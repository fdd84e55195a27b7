#pragma once

#include <cstdint>
#include <functional>
#include <vector>

class QWidget;

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
    // Sum of the widths (device pixels) of the legend pop-ups open as windows; the
    // axis triad keeps clear of them. Empty: no legends, 0.
    std::function<int()> legendColumnWidths;
    // The group pane's tree: forget the items of these groups (store indices;
    // the store is locked by the caller), and rebuild it from the store.
    std::function<void(const std::vector<std::int64_t>&)> removeGroupTreeItems;
    std::function<void()> refreshGroupTree;
    //! legendColumnWidths, or 0 while nobody filled it.
    int LegendColumnWidths() const { return legendColumnWidths ? legendColumnWidths() : 0; }
    // The modal About box; filled by the application at start-up.
    std::function<void()> showAboutDialog;
    // The TIN-to-CAD choice of lines or points (kind 0 or 1) over parent; false when
    // the user cancelled. Filled by the dialogs (InstallDialogHooks).
    std::function<bool(QWidget* parent, int& kind)> chooseTinToCadKind;

    //! The one set of the process (UI thread only).
    static ShellHooks& Instance();
};

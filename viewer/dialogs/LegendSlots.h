#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "outside/CGradationSetting.h"
#include "outside/OutsideTypes.h"

class FrameClock;
class MessagePaint;
class QWidget;

// The legend pop-ups of the process: one slot each for the slope, elevation and
// intensity legend, kept beside the main view's top right. UI thread only; the
// slots outlive every view and empty themselves when Qt deletes a pop-up with
// its owner.

enum class LegendSlot : int { Slope = 0, Elevation = 1, Intensity = 2 };

//! Where the pop-ups find the document view (the reference of every placement)
//! and the main window (the owner of the hints). Set by the application.
void SetPopupSources(std::function<QWidget*()> documentView, std::function<QWidget*()> mainWindow);
QWidget* PopupDocumentView();
QWidget* PopupMainWindow();
//! True on the UI thread; elsewhere false (and an assertion in debug builds).
bool PopupOnUiThread();

//! Fills the shell's legend and hint hooks (the frame's close, the view's
//! destructor, the axis triad's legend widths); RemovePopupHooks empties them.
void InstallPopupHooks();
void RemovePopupHooks();

//! The clock of the legends' 100 ms re-creation limit (null: the steady clock).
void SetLegendClock(std::shared_ptr<FrameClock> clock);

void ShowSlopeLegend(QWidget* view, COLORREF background, int colourSetB);
void ShowElevationLegend(QWidget* view, COLORREF background, double top, double bottom,
                         const std::vector<ColorConf>& stops);
//! The intensity colouring's legend: 0 to 255 over the current stops.
void ShowIntensityLegend(QWidget* view, COLORREF background, const std::vector<ColorConf>& stops);

//! Close a legend (and cancel a re-creation waiting for it); true when one was open.
bool CloseSlopeLegend();
bool CloseElevationLegend();
bool CloseIntensityLegend();

//! Moves the open legends to the document view's top right.
void LayoutLegendWindows();
//! Sum of the widths, in the view's device pixels, of the legends open as windows.
int LegendColumnWidths();
//! The slot's open legend, or null.
MessagePaint* OpenLegend(LegendSlot slot);

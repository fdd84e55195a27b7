#pragma once

#include <QPoint>
#include <QString>
#include <QRect>
#include <QStringList>

#include <vector>

#include "outside/OutsideTypes.h"

class PT;
class QWidget;
class ToolTip;

// The measurement hints of the process, one slot per kind: 1 to 3 the distance
// values, 4 the coordinate list, 5 and 6 the cross-section's height differences,
// 7 its distance. Opening a kind replaces its previous hint. Anchors are points
// of the document view in its device pixels (y down), as its mouse handling
// gives them. UI thread only.

inline constexpr int kHintKindFirst = 1;
inline constexpr int kHintKindList = 4;
inline constexpr int kHintKindLast = 7;

//! The "%.6lf" value and "m" as hint kind 1 to 7 beside the anchor.
bool ShowValueToolTip(double value, QPoint anchor, COLORREF textColour, int kind);
//! The coordinate hint (kind 4) of a picked point.
bool ShowMeasureListToolTip(const PT& point, QPoint anchor);
//! Lines in black as kind 4; owner null means the main window.
bool ShowListToolTip(QWidget* owner, const QStringList& lines, QPoint anchor);
//! A cross-section value as kind 5, 6 (height difference) or 7 (distance).
bool ShowSectionValueToolTip(double value, QPoint anchor, int kind);
//! One line in black as kind 5 to 7, placed towards the view's edges.
bool ShowTextToolTip(QWidget* owner, const QString& text, QPoint anchor, int kind);

//! Closes the hint of the kind; true when one was open. False for kinds outside 1..7.
bool CloseToolTip(int kind);
//! Close kinds 1 to 3 (5 to 7); true only when all three were open.
bool CloseDistanceToolTips();
bool CloseSectionToolTips();
//! Pull overlapping hints of kinds 1 to 3 (5 to 7) apart.
void ArrangeDistanceToolTips();
//! The cross-section's hints also keep clear of the sheet's labels (screen rects).
void ArrangeSectionToolTips(const std::vector<QRect>& labels = {});

//! The open hint of the kind, or null (also for kinds outside 1..7).
ToolTip* OpenHint(int kind);
//! A point of the view (device pixels) on the screen, in the windows' logical pixels.
QPoint ViewPointToScreen(const QWidget& view, QPoint devicePoint);

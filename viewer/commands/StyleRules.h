#pragma once

#include <QPoint>

#include <cstdint>

struct ViewSettings;

// The decisions of the point colour buttons, the right-click style menu and the
// tool modes, without a window.
namespace style {

// Ids of the right-click menu: point sizes (index 0..3) and CAD line widths (0..4).
inline constexpr int kPointSizeFirst = 32940;
inline constexpr int kPointSizeLast = 32943;
inline constexpr int kLineWidthFirst = 32971;
inline constexpr int kLineWidthLast = 32975;

//! The point colour mode after its button: the active mode's button turns colouring off.
short NextPointColourMode(short current, short pressed);

// What a change of point colour mode does to the height and intensity legends.
enum class LegendAction { Keep, Update, Close };
struct ColourModeLegends {
    LegendAction height = LegendAction::Keep;
    LegendAction intensity = LegendAction::Keep;
};
ColourModeLegends LegendsForColourMode(short previous, short next, int tinPictureMode);

//! The checked point-size item for a point-size index (indices from 4 up check the first).
int CheckedPointSizeItem(short index);
//! The checked line-width item for "ViewLnWidthCad" (out of range: none, 0).
int CheckedLineWidthItem(short index);
//! Applies a menu answer to the settings; false when it was no style item.
bool ApplyMenuChoice(int command, ViewSettings& settings);
//! After a menu closed without a choice: true when the click that closed it fell
//! inside the client area (1..width, 1..height) and Escape did not close it.
bool MenuDismissedByClick(bool escape, QPoint cursor, int width, int height);

//! Cursor resource of a tool mode (23000..23005), 0 for the default cursor.
int CursorResourceForMode(std::uint8_t mode);

} // namespace style

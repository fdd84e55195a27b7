#include "viewer/commands/StyleRules.h"

#include "viewer/render/ViewSettings.h"

namespace style {

short NextPointColourMode(short current, short pressed)
{
    return current == pressed ? short{0} : pressed;
}

ColourModeLegends LegendsForColourMode(short previous, short next, int tinPictureMode)
{
    ColourModeLegends legends;
    if (next == 1 || tinPictureMode == 4)
        legends.height = LegendAction::Update;
    else if (!(previous == 4 && next == 0))
        legends.height = LegendAction::Close;
    legends.intensity = next == 4 ? LegendAction::Update : LegendAction::Close;
    return legends;
}

int CheckedPointSizeItem(short index)
{
    if (index < 0 || index >= 4)
        return kPointSizeFirst;
    return kPointSizeFirst + index;
}

int CheckedLineWidthItem(short index)
{
    if (index < 0 || index > kLineWidthLast - kLineWidthFirst)
        return 0;
    return kLineWidthFirst + index;
}

bool ApplyMenuChoice(int command, ViewSettings& settings)
{
    if (command >= kPointSizeFirst && command <= kPointSizeLast) {
        settings.pointSizeIndex = static_cast<short>(command - kPointSizeFirst);
        return true;
    }
    if (command >= kLineWidthFirst && command <= kLineWidthLast) {
        settings.cadLineWidthIndex = static_cast<short>(command - kLineWidthFirst);
        return true;
    }
    return false;
}

bool MenuDismissedByClick(bool escape, QPoint cursor, int width, int height)
{
    return !escape && cursor.x() >= 1 && cursor.x() <= width && cursor.y() >= 1 && cursor.y() <= height;
}

int CursorResourceForMode(std::uint8_t mode)
{
    switch (mode) {
    case 6: return 23000;
    case 1: return 23001;
    case 2: return 23002;
    case 3: return 23003;
    case 4: return 23004;
    case 5: case 8: case 9: case 16: case 17: case 18: return 23005;
    default: return 0;
    }
}

} // namespace style

#include "hostfw/gnss/JGpsSidVur.h"

#include <QJsonObject>

void JGpsSidVur::Reset()
{
    horizontalCm = heightCm = knownPointOption = halfHorizontalMm = halfHeightMm = 0;
}

void JGpsSidVur::Parse(const QJsonObject& o)
{
    horizontalCm = JsonInt(o, "horizontalCm");
    heightCm = JsonInt(o, "heightCm");
    knownPointOption = JsonInt(o, "knownPointOption");
    halfHorizontalMm = JsonInt(o, "halfHorizontalMm");
    halfHeightMm = JsonInt(o, "halfHeightMm");
}

#include "hostfw/gnss/JGpsDupVur.h"

#include <QJsonObject>

void JGpsDupVur::Reset()
{
    horizontal = height = 0;
}

void JGpsDupVur::Parse(const QJsonObject& o)
{
    horizontal = JsonInt(o, "horizontal");
    height = JsonInt(o, "height");
}

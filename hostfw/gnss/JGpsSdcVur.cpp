#include "hostfw/gnss/JGpsSdcVur.h"

#include <QJsonObject>

void JGpsSdcVur::Reset()
{
    grade = 0;
}

void JGpsSdcVur::Parse(const QJsonObject& o)
{
    grade = JsonInt(o, "grade");
}

#include "hostfw/gnss/JGpsEktVur.h"

#include <QJsonObject>

void JGpsEktVur::Reset()
{
    a = b = c = d = 0;
}

void JGpsEktVur::Parse(const QJsonObject& o)
{
    a = JsonInt(o, "a");
    b = JsonInt(o, "b");
    c = JsonInt(o, "c");
    d = JsonInt(o, "d");
}

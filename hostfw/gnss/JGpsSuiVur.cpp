#include "hostfw/gnss/JGpsSuiVur.h"

#include <QJsonObject>

void JGpsSuiVur::Reset()
{
    use = a = b = c = d = e = f = 0;
}

void JGpsSuiVur::Parse(const QJsonObject& o)
{
    use = JsonInt(o, "use");
    a = JsonInt(o, "a");
    b = JsonInt(o, "b");
    c = JsonInt(o, "c");
    d = JsonInt(o, "d");
    e = JsonInt(o, "e");
    f = JsonInt(o, "f");
}

#include "hostfw/gnss/JGpsKanVur.h"

#include <QJsonArray>
#include <QJsonObject>

void JGpsKanVur::Reset()
{
    kind = 0;
    horizontal[0] = horizontal[1] = height[0] = height[1] = 0;
}

void JGpsKanVur::Parse(const QJsonObject& o)
{
    kind = static_cast<unsigned char>(JsonInt(o, "kind"));
    const QJsonArray h = o.value("horizontal").toArray();
    const QJsonArray v = o.value("height").toArray();
    for (int i = 0; i < 2; ++i) {
        horizontal[i] = h.at(i).toInt(0);
        height[i] = v.at(i).toInt(0);
    }
}

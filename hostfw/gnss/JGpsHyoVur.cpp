#include "hostfw/gnss/JGpsHyoVur.h"

#include <QJsonObject>

namespace {

JGpsHyoVur::Limits ParseLimits(const QJsonObject& o)
{
    JGpsHyoVur::Limits l;
    l.a = JsonInt(o, "a");
    l.b = JsonInt(o, "b");
    l.c = JsonInt(o, "c");
    l.d = JsonInt(o, "d");
    return l;
}

}  // namespace

void JGpsHyoVur::Reset()
{
    use3 = use4 = 0;
    class3 = {};
    class4 = {};
}

void JGpsHyoVur::Parse(const QJsonObject& o)
{
    use3 = JsonInt(o, "use3");
    use4 = JsonInt(o, "use4");
    class3 = ParseLimits(o.value("class3").toObject());
    class4 = ParseLimits(o.value("class4").toObject());
}

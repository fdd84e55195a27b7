#include "hostfw/ctrlpoint/ShbJ_Nt.h"

#include <QJsonDocument>
#include <QJsonObject>

#include "hostfw/CVApp.h"
#include "hostfw/PartSystem.h"

int ShbJ_Nt::GetCalVur(const KjnXyda_Nt&, ShboCalVur& out)
{
    out = ShboCalVur{};
    PartSystem* system = GetCurrentPartSystem();
    if (system == nullptr)
        return 1;
    const std::optional<std::string> json = system->Condition("SHBCALVUR", 0);
    if (!json)
        return 1;
    const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(*json)).object();
    const int distance = object.value("distanceDecimals").toInt(out.distanceDecimals);
    const int seconds = object.value("secondDecimals").toInt(out.secondDecimals);
    if (distance >= 0 && distance <= 6)
        out.distanceDecimals = distance;
    if (seconds >= 0 && seconds <= 4)
        out.secondDecimals = seconds;
    return 1;
}

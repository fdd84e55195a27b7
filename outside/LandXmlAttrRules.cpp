#include "outside/LandXmlAttrRules.h"

#include "platform/Cp932.h"
#include "platform/Numbers.h"

#include <cctype>
#include <cmath>

std::string LandXmlAttrRules::CutField(std::string_view utf8)
{
    return tessara::CutToCp932Bytes(utf8, kMaxFieldBytes);
}

void LandXmlAttrRules::CutAll(LxDATA_Project& p, LxDATA_Application& a, LxDATA_Coordinate& c)
{
    for (std::string* s : {&p.name, &p.desc, &p.projectPhase, &p.applicationCriterion, &a.manufacturer,
                           &a.manufacturerURL, &a.timeStamp, &a.name, &a.version, &c.name, &c.horizontalDatum,
                           &c.verticalDatum, &c.planeCoordinateName, &c.planeCoordinateDesc})
        *s = CutField(*s);
}

std::string LandXmlAttrRules::FormatDifference(double metres)
{
    return tessara::FormatFixed(std::isfinite(metres) ? metres : 0.0, 3);
}

std::optional<double> LandXmlAttrRules::ParseDifference(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    const auto v = tessara::ParseDouble(text);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

std::optional<std::string> LandXmlAttrRules::ToXmlDateTime(std::string_view t)
{
    // 0123456789012345678
    // YYYY-MM-DD HH:MM:SS
    if (t.size() != 19) return std::nullopt;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        const bool sep = i == 4 || i == 7 || i == 10 || i == 13 || i == 16;
        if (sep) {
            const char want = i == 10 ? ' ' : (i < 10 ? '-' : ':');
            if (c != want) return std::nullopt;
        } else if (!std::isdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
    }
    std::string out(t);
    out[10] = 'T';
    return out;
}

bool LandXmlAttrRules::ZoneTexts(int zone, std::string& name, std::string& desc)
{
    if (zone < 1 || zone > 19) return false;
    name = std::to_string(zone) + "(X,Y)";
    desc = "第" + std::to_string(zone) + "系";
    return true;
}

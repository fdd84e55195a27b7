#include "outside/CnvLandXML.h"

#include "outside/LandXmlAttrRules.h"
#include "platform/Files.h"
#include "platform/Log.h"

#include <pugixml.hpp>

#include <charconv>
#include <cmath>
#include <ctime>
#include <sstream>

namespace {

// Shortest fixed-point text that reads back to the same double, locale-free.
void AppendNumber(std::string& out, double v)
{
    char text[400];
    const auto r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed);
    out.append(text, r.ptr);
}

void AppendIndex(std::string& out, std::uint64_t v)
{
    char text[24];
    const auto r = std::to_chars(text, text + sizeof text, v);
    out.append(text, r.ptr);
}

std::string NowDateTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

void AddProperty(pugi::xml_node feature, const char* label, const std::string& value)
{
    pugi::xml_node p = feature.append_child("Property");
    p.append_attribute("label") = label;
    p.append_attribute("value") = value.c_str();
}

bool CheckSurface(const std::vector<CLxVertex>& vertices, const std::vector<CLxIndexedTriangle>& triangles,
                  std::size_t surface)
{
    for (const CLxVertex& v : vertices) {
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) {
            tessara::Log("LandXML: surface %zu has a coordinate that is not finite", surface + 1);
            return false;
        }
    }
    for (const CLxIndexedTriangle& t : triangles) {
        for (std::uint32_t i : t.idx) {
            if (i >= vertices.size()) {
                tessara::Log("LandXML: surface %zu names vertex %u of %zu", surface + 1, i, vertices.size());
                return false;
            }
        }
    }
    return true;
}

}  // namespace

int CnvLandXML_SAVE(const char* path, const LxDATA_Project& project, const LxDATA_Application& application,
                    const LxDATA_Coordinate& coordinate, const LxVertexLists& vertices,
                    const LxTriangleLists& triangles, QWidget* /*parent*/)
{
    if (path == nullptr || *path == '\0' || vertices.size() != triangles.size()) return 0;
    for (std::size_t s = 0; s < vertices.size(); ++s)
        if (!CheckSurface(vertices[s], triangles[s], s)) return 0;

    const std::string stamp = LandXmlAttrRules::ToXmlDateTime(application.timeStamp).value_or(NowDateTime());
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";

    pugi::xml_node root = doc.append_child("LandXML");
    root.append_attribute("xmlns") = "http://www.landxml.org/schema/LandXML-1.2";
    root.append_attribute("xmlns:xsi") = "http://www.w3.org/2001/XMLSchema-instance";
    root.append_attribute("xsi:schemaLocation") =
        "http://www.landxml.org/schema/LandXML-1.2 http://www.landxml.org/schema/LandXML-1.2/LandXML-1.2.xsd";
    root.append_attribute("version") = "1.2";
    root.append_attribute("date") = stamp.substr(0, 10).c_str();
    root.append_attribute("time") = stamp.substr(11).c_str();

    pugi::xml_node metric = root.append_child("Units").append_child("Metric");
    metric.append_attribute("areaUnit") = "squareMeter";
    metric.append_attribute("linearUnit") = "meter";
    metric.append_attribute("volumeUnit") = "cubicMeter";
    metric.append_attribute("temperatureUnit") = "celsius";
    metric.append_attribute("pressureUnit") = "HPA";
    metric.append_attribute("angularUnit") = "decimal degrees";
    metric.append_attribute("directionUnit") = "decimal degrees";

    pugi::xml_node crs = root.append_child("CoordinateSystem");
    crs.append_attribute("name") = coordinate.name.c_str();
    crs.append_attribute("desc") = coordinate.planeCoordinateDesc.c_str();
    crs.append_attribute("horizontalDatum") = coordinate.horizontalDatum.c_str();
    crs.append_attribute("verticalDatum") = coordinate.verticalDatum.c_str();
    crs.append_attribute("horizontalCoordinateSystemName") = coordinate.planeCoordinateName.c_str();
    pugi::xml_node crsFeature = crs.append_child("Feature");
    AddProperty(crsFeature, "differTP", LandXmlAttrRules::FormatDifference(coordinate.differTP));

    pugi::xml_node proj = root.append_child("Project");
    proj.append_attribute("name") = project.name.c_str();
    proj.append_attribute("desc") = project.desc.c_str();
    pugi::xml_node projFeature = proj.append_child("Feature");
    AddProperty(projFeature, "projectPhase", project.projectPhase);
    AddProperty(projFeature, "applicationCriterion", project.applicationCriterion);

    pugi::xml_node app = root.append_child("Application");
    app.append_attribute("name") = application.name.c_str();
    app.append_attribute("manufacturer") = application.manufacturer.c_str();
    app.append_attribute("manufacturerURL") = application.manufacturerURL.c_str();
    app.append_attribute("version") = application.version.c_str();
    app.append_attribute("timeStamp") = stamp.c_str();

    pugi::xml_node surfaces = root.append_child("Surfaces");
    std::string text;
    for (std::size_t s = 0; s < vertices.size(); ++s) {
        pugi::xml_node surface = surfaces.append_child("Surface");
        surface.append_attribute("name") = ("TIN" + std::to_string(s + 1)).c_str();
        pugi::xml_node def = surface.append_child("Definition");
        def.append_attribute("surfType") = "TIN";
        pugi::xml_node pnts = def.append_child("Pnts");
        for (std::size_t i = 0; i < vertices[s].size(); ++i) {
            const CLxVertex& v = vertices[s][i];
            pugi::xml_node p = pnts.append_child("P");
            p.append_attribute("id") = static_cast<unsigned long long>(i + 1);
            text.clear();
            AppendNumber(text, v.x);
            text.push_back(' ');
            AppendNumber(text, v.y);
            text.push_back(' ');
            AppendNumber(text, v.z);
            p.text().set(text.c_str());
        }
        pugi::xml_node faces = def.append_child("Faces");
        for (const CLxIndexedTriangle& t : triangles[s]) {
            text.clear();
            for (int k = 0; k < 3; ++k) {
                if (k) text.push_back(' ');
                AppendIndex(text, std::uint64_t(t.idx[k]) + 1);
            }
            faces.append_child("F").text().set(text.c_str());
        }
    }

    std::ostringstream out;
    out.imbue(std::locale::classic());
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    if (!tessara::AtomicWriteFile(path, out.str())) {
        tessara::Log("LandXML: cannot write %s", path);
        return 0;
    }
    return 1;
}

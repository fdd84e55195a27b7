#include "viewer/files/LandXmlExport.h"

#include "outside/CModelDataMng.h"
#include "outside/CnvLandXML.h"
#include "outside/LandXmlAttrRules.h"
#include "platform/IProfile.h"

#include <ctime>

namespace landxml {
namespace {

constexpr const char* kSection = "SectionGlView";

}  // namespace

void LoadLandXmlAttributes(tessara::IProfile& profile, LxDATA_Project& p, LxDATA_Application& a,
                           LxDATA_Coordinate& c)
{
    const auto get = [&](const char* key, const char* fallback) {
        return LandXmlAttrRules::CutField(profile.GetProfileString(kSection, key, fallback));
    };
    p.name = get("LxProjectname", "道路詳細設計");
    p.desc = get("LxProjectdic", "");
    p.projectPhase = get("LxProjectprojectPhase", "詳細");
    p.applicationCriterion = get("LxProjectapplicationCriterion", "LandXmlVer.1.0");
    a.manufacturer = get("LxApplicationmanufacturer", "BRALDEN.LTD");
    a.manufacturerURL = get("LxApplicationmanufacturerURL", "https://www.bralden.co.jp/");
    a.timeStamp = get("LxApplicationtimeStamp", "");
    a.name = get("LxApplicationname", "ORVANE");
    a.version = get("LxApplicationversion", "xxxxxx");
    c.name = get("LxCoordinatename", "CRS1");
    c.horizontalDatum = get("LxCoordinatehorizontalDatum", "JGD2011");
    c.verticalDatum = get("LxCoordinateverticalDatum", "T.P");
    c.planeCoordinateName = get("LxCoordinateCoordinatemName", "9(X,Y)");
    c.planeCoordinateDesc = get("LxCoordinatedesc", "第9系");
    c.differTP = LandXmlAttrRules::ParseDifference(profile.GetProfileString(kSection, "LxCoordinatedifferTP", "0.0"))
                     .value_or(0.0);
}

void SaveLandXmlAttributes(tessara::IProfile& profile, const LxDATA_Project& p, const LxDATA_Application& a,
                           const LxDATA_Coordinate& c)
{
    const auto put = [&](const char* key, const std::string& value) {
        profile.WriteProfileString(kSection, key, LandXmlAttrRules::CutField(value));
    };
    put("LxProjectname", p.name);
    put("LxProjectdic", p.desc);
    put("LxProjectprojectPhase", p.projectPhase);
    put("LxProjectapplicationCriterion", p.applicationCriterion);
    put("LxApplicationmanufacturer", a.manufacturer);
    put("LxApplicationmanufacturerURL", a.manufacturerURL);
    put("LxApplicationtimeStamp", a.timeStamp);
    put("LxApplicationname", a.name);
    put("LxApplicationversion", a.version);
    put("LxCoordinatename", c.name);
    put("LxCoordinatehorizontalDatum", c.horizontalDatum);
    put("LxCoordinateverticalDatum", c.verticalDatum);
    put("LxCoordinateCoordinatemName", c.planeCoordinateName);
    put("LxCoordinatedesc", c.planeCoordinateDesc);
    put("LxCoordinatedifferTP", LandXmlAttrRules::FormatDifference(c.differTP));
}

void AppendTinSurface(const CVertexMng& tin, const MTRX& toSurvey, LxVertexLists& vertices,
                      LxTriangleLists& triangles)
{
    if (tin.GetVertexSize() == 0 || tin.GetTriangleCount() == 0) return;
    std::vector<CLxVertex>& v = vertices.emplace_back();
    v.reserve(std::size_t(tin.GetVertexSize()));
    for (std::int64_t i = 0; i < tin.GetVertexSize(); ++i) {
        float x = 0, y = 0, z = 0;
        tin.GetVertexVal(i, x, y, z);
        double sx = x, sy = y;
        toSurvey.XY(&sx, &sy);
        v.push_back({sx, sy, double(z)});
    }
    std::vector<CLxIndexedTriangle>& t = triangles.emplace_back();
    t.reserve(tin.m_triangles.size());
    for (const CIndexedTriangle& tri : tin.m_triangles) t.push_back({{tri.m_idx[0], tri.m_idx[1], tri.m_idx[2]}});
}

void CollectSurfaces(const CModelDataMng& store, const MTRX& toSurvey, LxVertexLists& vertices,
                     LxTriangleLists& triangles)
{
    for (int i = 0; i < store.GetGroupCount(); ++i) {
        const CPCloudMng* g = store.GetGroup(i);
        if (g && g->IsShowGroup() && g->IsShowTin()) AppendTinSurface(*g, toSurvey, vertices, triangles);
    }
    if (store.IsShowCADGroup() && store.IsShowCADTin()) AppendTinSurface(store.m_cadTin, toSurvey, vertices, triangles);
    if (store.IsShow3DStructureGroup()) {
        if (store.IsShowBuildTin()) {
            // The building's six sets as one surface, each set's indices raised by the
            // vertices of the sets before it.
            CVertexMng joined;
            for (int s = 0; s < 6; ++s) {
                const CVertexMng& set = store.m_structure[std::size_t(s)];
                if (set.GetVertexSize() == 0 || set.GetTriangleCount() == 0) continue;
                const std::uint32_t base = std::uint32_t(joined.GetVertexSize());
                for (const auto& v : set.m_vertices) joined.m_vertices.push_back(v);
                for (CIndexedTriangle t : set.m_triangles) {
                    for (std::uint32_t& i : t.m_idx) i += base;
                    joined.m_triangles.push_back(t);
                }
            }
            AppendTinSurface(joined, toSurvey, vertices, triangles);
        }
        const int shown[6] = {store.IsShowRoadBridgeTin(), store.IsShowLightingTin(), store.IsShowUtilityPoleTin(),
                              store.IsShowHighTowerTin(), store.IsShowRailRoadTin(), store.IsShowChimneyTin()};
        for (int k = 0; k < 6; ++k)
            if (shown[k]) AppendTinSurface(store.m_structure[std::size_t(6 + k)], toSurvey, vertices, triangles);
    }
    const CPCloudMng& view = store.m_viewCloud;
    if (view.IsShowGroup() && view.IsShowTin()) AppendTinSurface(view, toSurvey, vertices, triangles);
}

int ExportLandXmlFile(const CModelDataMng& store, const MTRX& toSurvey, const std::string& path, int zone,
                      tessara::IProfile& profile, const AttributeDialog& dialog, const std::string& timeStamp)
{
    if (path.empty()) return 0;
    LxDATA_Project project;
    LxDATA_Application application;
    LxDATA_Coordinate coordinate;
    LoadLandXmlAttributes(profile, project, application, coordinate);
    application.timeStamp = LandXmlAttrRules::CutField(timeStamp);
    LandXmlAttrRules::ZoneTexts(zone, coordinate.planeCoordinateName, coordinate.planeCoordinateDesc);
    if (!dialog || !dialog(project, application, coordinate)) return -1;
    LandXmlAttrRules::CutAll(project, application, coordinate);
    SaveLandXmlAttributes(profile, project, application, coordinate);
    LxVertexLists vertices;
    LxTriangleLists triangles;
    CollectSurfaces(store, toSurvey, vertices, triangles);
    return CnvLandXML_SAVE(path.c_str(), project, application, coordinate, vertices, triangles, nullptr) ? 1 : 0;
}

std::string CurrentTimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return {};
    char text[32];
    if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local) == 0) return {};
    return text;
}

}  // namespace landxml

#include "viewer/files/LandXmlExport.h"

#include "ExportTestSupport.h"
#include "platform/Cp932.h"
#include "platform/MemoryProfile.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

using namespace exporttest;

namespace {

constexpr const char* kSection = "SectionGlView";


class LandXmlExportTest : public ScratchFolderTest {
protected:
    // Runs the export with a dialog that records what it was shown and answers ok.
    int Export(int zone, bool ok = true)
    {
        return landxml::ExportLandXmlFile(
            m_store, m_toSurvey, PathOf("tin.xml"), zone, m_profile,
            [&](LxDATA_Project& p, LxDATA_Application& a, LxDATA_Coordinate& c) {
                m_shown = {p, a, c};
                if (m_edit) m_edit(p, a, c);
                return ok;
            },
            "2026-05-06 07:08:09");
    }
    std::vector<std::vector<std::string>> Surfaces()
    {
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_file(PathOf("tin.xml").c_str()));
        std::vector<std::vector<std::string>> out;
        for (pugi::xml_node s : doc.child("LandXML").child("Surfaces").children("Surface")) {
            auto& rows = out.emplace_back();
            for (pugi::xml_node p : s.child("Definition").child("Pnts").children("P"))
                rows.push_back(std::string("P") + p.attribute("id").value() + " " + p.text().get());
            for (pugi::xml_node f : s.child("Definition").child("Faces").children("F"))
                rows.push_back(std::string("F ") + f.text().get());
        }
        return out;
    }

    CModelDataMng m_store;
    MTRX m_toSurvey;
    tessara::MemoryProfile m_profile;
    struct Shown {
        LxDATA_Project p;
        LxDATA_Application a;
        LxDATA_Coordinate c;
    } m_shown;
    std::function<void(LxDATA_Project&, LxDATA_Application&, LxDATA_Coordinate&)> m_edit;
};

TEST_F(LandXmlExportTest, EmptyProfileGivesTheDefaultsAndZoneOneItsTexts)
{
    ASSERT_EQ(Export(1), 1);
    EXPECT_EQ(m_shown.p.name, "道路詳細設計");
    EXPECT_EQ(m_shown.p.projectPhase, "詳細");
    EXPECT_EQ(m_shown.p.applicationCriterion, "LandXmlVer.1.0");
    EXPECT_EQ(m_shown.a.manufacturer, "BRALDEN.LTD");
    EXPECT_EQ(m_shown.a.name, "ORVANE");
    EXPECT_EQ(m_shown.a.version, "xxxxxx");
    EXPECT_EQ(m_shown.a.timeStamp, "2026-05-06 07:08:09");
    EXPECT_EQ(m_shown.c.name, "CRS1");
    EXPECT_EQ(m_shown.c.horizontalDatum, "JGD2011");
    EXPECT_EQ(m_shown.c.verticalDatum, "T.P");
    EXPECT_EQ(m_shown.c.planeCoordinateName, "1(X,Y)");
    EXPECT_EQ(m_shown.c.planeCoordinateDesc, "第1系");
    EXPECT_EQ(m_shown.c.differTP, 0.0);
    // Stored back, the time stamp as its text.
    EXPECT_EQ(m_profile.GetProfileString(kSection, "LxApplicationtimeStamp", ""), "2026-05-06 07:08:09");
    EXPECT_EQ(m_profile.GetProfileString(kSection, "LxCoordinatedesc", ""), "第1系");
    EXPECT_EQ(m_profile.GetProfileString(kSection, "LxCoordinatedifferTP", ""), "0.000");
}

TEST_F(LandXmlExportTest, ZonesOutsideOneToNineteenKeepTheProfileTexts)
{
    m_profile.WriteProfileString(kSection, "LxCoordinateCoordinatemName", "7(X,Y)");
    m_profile.WriteProfileString(kSection, "LxCoordinatedesc", "第7系");
    m_profile.WriteProfileString(kSection, "LxCoordinatedifferTP", "1.25");
    for (int zone : {0, 20}) {
        ASSERT_EQ(Export(zone), 1);
        EXPECT_EQ(m_shown.c.planeCoordinateName, "7(X,Y)");
        EXPECT_EQ(m_shown.c.planeCoordinateDesc, "第7系");
        EXPECT_EQ(m_shown.c.differTP, 1.25);
    }
}

TEST_F(LandXmlExportTest, CancelLeavesProfileAndFile)
{
    { std::ofstream(PathOf("tin.xml")) << "old"; }
    EXPECT_EQ(Export(1, /*ok=*/false), -1);
    EXPECT_EQ(m_profile.GetProfileString(kSection, "LxProjectname", "none"), "none");
    EXPECT_EQ(ReadAll(PathOf("tin.xml")), "old");
}

TEST_F(LandXmlExportTest, LongTextsAreCutTo127Cp932BytesInProfileAndFile)
{
    std::string kanji;
    for (int i = 0; i < 100; ++i) kanji += "測";
    m_edit = [&](LxDATA_Project& p, LxDATA_Application&, LxDATA_Coordinate&) { p.name = kanji; };
    ASSERT_EQ(Export(1), 1);
    const std::string stored = m_profile.GetProfileString(kSection, "LxProjectname", "");
    EXPECT_EQ(stored, kanji.substr(0, 63 * 3));
    EXPECT_LE(tessara::Cp932Length(stored), 127u);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(PathOf("tin.xml").c_str()));
    EXPECT_EQ(std::string(doc.child("LandXML").child("Project").attribute("name").value()), stored);
}

TEST_F(LandXmlExportTest, SurfacesInOrderWithTheBuildingSetsJoined)
{
    m_toSurvey.Move(10.0, 0.0);
    auto g = MakeLineGroup(0);
    g->m_nShowTin = 1;
    AddTin(*g, 3, {{0, 1, 2}});
    m_store.AddGroup(std::move(g));
    auto noTriangles = MakeLineGroup(0);
    noTriangles->m_nShowTin = 1;
    AddTin(*noTriangles, 3, {});
    m_store.AddGroup(std::move(noTriangles));
    m_store.m_nShow3DStructure = 1;
    // Building sets 0 and 2 filled, set 1 with vertices only.
    AddTin(m_store.m_structure[0], 3, {{0, 1, 2}}, 100);
    AddTin(m_store.m_structure[1], 2, {}, 200);
    AddTin(m_store.m_structure[2], 4, {{0, 1, 3}}, 300);
    AddTin(m_store.m_structure[6], 3, {{2, 1, 0}}, 400);   // road bridge
    m_store.m_nShowStructure[CModelDataMng::kRoadBridge] = 1;
    ASSERT_EQ(Export(1), 1);
    const auto s = Surfaces();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0], (std::vector<std::string>{"P1 10 0 0", "P2 11 2 3", "P3 12 4 6", "F 1 2 3"}));
    ASSERT_EQ(s[1].size(), 7u + 2u);
    EXPECT_EQ(s[1][3], "P4 310 0 0");
    EXPECT_EQ(s[1][7], "F 1 2 3");
    EXPECT_EQ(s[1][8], "F 4 5 7");
    EXPECT_EQ(s[2].back(), "F 3 2 1");

    // The building hidden: its sets add nothing.
    m_store.m_nShowStructure[CModelDataMng::kBuild] = 0;
    ASSERT_EQ(Export(1), 1);
    EXPECT_EQ(Surfaces().size(), 2u);
}

}  // namespace

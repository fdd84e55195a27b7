#include "outside/CnvLandXML.h"
#include "outside/LandXmlAttrRules.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class LandXmlWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("tessara-landxml-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        m_project.name = "道路 & <詳細>";
        m_application.timeStamp = "2026-03-04 05:06:07";
        m_application.name = "ORVANE";
        m_coordinate.name = "CRS1";
        m_coordinate.planeCoordinateName = "9(X,Y)";
        m_coordinate.differTP = 0.25;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    int Save(const std::string& path, const LxVertexLists& v, const LxTriangleLists& t)
    {
        return CnvLandXML_SAVE(path.c_str(), m_project, m_application, m_coordinate, v, t, nullptr);
    }

    std::filesystem::path m_dir;
    LxDATA_Project m_project;
    LxDATA_Application m_application;
    LxDATA_Coordinate m_coordinate;
};

TEST_F(LandXmlWriterTest, WritesSurfacesThatParseBackWithOneBasedFaces)
{
    const LxVertexLists vertices = {{{100.5, -200.25, 3}, {101, -200, 4}, {100, -199, 5}, {99, -201, 6}},
                                    {{1e6, 2e6, -1.125}, {1e6 + 1, 2e6, 0}, {1e6, 2e6 + 1, 0}}};
    const LxTriangleLists triangles = {{{{0, 1, 2}}, {{0, 2, 3}}}, {{{2, 1, 0}}}};
    const std::string path = (m_dir / "地形 a.xml").string();
    ASSERT_NE(Save(path, vertices, triangles), 0);

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(path.c_str()));
    const pugi::xml_node root = doc.child("LandXML");
    EXPECT_STREQ(root.attribute("xmlns").value(), "http://www.landxml.org/schema/LandXML-1.2");
    EXPECT_STREQ(root.attribute("version").value(), "1.2");
    EXPECT_STREQ(root.attribute("date").value(), "2026-03-04");
    EXPECT_STREQ(root.attribute("time").value(), "05:06:07");
    EXPECT_STREQ(root.child("Application").attribute("timeStamp").value(), "2026-03-04T05:06:07");
    EXPECT_STREQ(root.child("Project").attribute("name").value(), "道路 & <詳細>");
    EXPECT_TRUE(root.child("Units").child("Metric"));
    EXPECT_STREQ(root.child("CoordinateSystem").attribute("horizontalCoordinateSystemName").value(), "9(X,Y)");
    EXPECT_STREQ(root.child("CoordinateSystem").child("Feature").find_child_by_attribute("Property", "label", "differTP")
                     .attribute("value").value(), "0.250");

    std::vector<pugi::xml_node> surfaces;
    for (pugi::xml_node s : root.child("Surfaces").children("Surface")) surfaces.push_back(s);
    ASSERT_EQ(surfaces.size(), 2u);
    const pugi::xml_node def = surfaces[0].child("Definition");
    EXPECT_STREQ(def.attribute("surfType").value(), "TIN");
    std::vector<std::string> points, faces;
    for (pugi::xml_node p : def.child("Pnts").children("P"))
        points.push_back(std::string(p.attribute("id").value()) + ":" + p.text().get());
    for (pugi::xml_node f : def.child("Faces").children("F")) faces.push_back(f.text().get());
    EXPECT_EQ(points, (std::vector<std::string>{"1:100.5 -200.25 3", "2:101 -200 4", "3:100 -199 5", "4:99 -201 6"}));
    EXPECT_EQ(faces, (std::vector<std::string>{"1 2 3", "1 3 4"}));
    EXPECT_STREQ(surfaces[1].child("Definition").child("Pnts").first_child().text().get(), "1000000 2000000 -1.125");
    EXPECT_STREQ(surfaces[1].child("Definition").child("Faces").first_child().text().get(), "3 2 1");
}

TEST_F(LandXmlWriterTest, BadSurfacesGiveNoFileAndKeepTheOldOne)
{
    const std::string path = (m_dir / "t.xml").string();
    { std::ofstream(path) << "old"; }
    struct Case {
        const char* name;
        LxVertexLists v;
        LxTriangleLists t;
    };
    const Case cases[] = {
        {"index_beyond_vertices", {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}}, {{{{0, 1, 3}}}}},
        {"not_finite", {{{0, 0, 0}, {1, 0, std::nan("")}, {0, 1, 0}}}, {{{{0, 1, 2}}}}},
        {"lists_differ", {{{0, 0, 0}}}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Save(path, c.v, c.t), 0) << c.name;
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_EQ(text.str(), "old") << c.name;
    }
    EXPECT_EQ(Save((m_dir / "missing" / "t.xml").string(), {}, {}), 0);
}

TEST(LandXmlAttrRulesTest, FieldsAreCutTo127Cp932BytesOnACharacterBoundary)
{
    std::string kanji;
    for (int i = 0; i < 100; ++i) kanji += "漢";   // 200 bytes in CP932
    const std::string cut = LandXmlAttrRules::CutField(kanji);
    EXPECT_EQ(tessara::Cp932Length(cut), 126u);        // 63 characters; the 64th would need 128
    EXPECT_EQ(cut, kanji.substr(0, 63 * 3));
    const std::string ascii(200, 'a');
    EXPECT_EQ(LandXmlAttrRules::CutField(ascii).size(), 127u);
    EXPECT_EQ(LandXmlAttrRules::CutField("a" + kanji).size(), 1u + 63 * 3);   // 'a' + 63 kanji = 127
}

TEST(LandXmlAttrRulesTest, DifferenceTimeStampAndZoneTexts)
{
    EXPECT_EQ(LandXmlAttrRules::ParseDifference(" 1.5 "), 1.5);
    EXPECT_EQ(LandXmlAttrRules::ParseDifference("1,5"), std::nullopt);
    EXPECT_EQ(LandXmlAttrRules::ParseDifference("abc"), std::nullopt);
    EXPECT_EQ(LandXmlAttrRules::ParseDifference("inf"), std::nullopt);
    EXPECT_EQ(LandXmlAttrRules::FormatDifference(-0.0625), "-0.063");
    EXPECT_EQ(LandXmlAttrRules::ToXmlDateTime("2026-12-31 23:59:58"), "2026-12-31T23:59:58");
    EXPECT_EQ(LandXmlAttrRules::ToXmlDateTime("2026/12/31 23:59:58"), std::nullopt);
    EXPECT_EQ(LandXmlAttrRules::ToXmlDateTime(""), std::nullopt);
    std::string name = "keep", desc = "keep";
    for (int zone : {0, 20}) EXPECT_FALSE(LandXmlAttrRules::ZoneTexts(zone, name, desc));
    EXPECT_EQ(name, "keep");
    ASSERT_TRUE(LandXmlAttrRules::ZoneTexts(1, name, desc));
    EXPECT_EQ(name, "1(X,Y)");
    EXPECT_EQ(desc, "第1系");
    ASSERT_TRUE(LandXmlAttrRules::ZoneTexts(19, name, desc));
    EXPECT_EQ(desc, "第19系");
}

}  // namespace

#include "ModelText.h"

#include "outside/CModelDataMng.h"
#include "platform/Files.h"
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/ModelFile.h"
#include "viewer/files/SceneFrame.h"

#include <gtest/gtest.h>

#include <array>

#include <filesystem>
#include <string>

namespace {

std::string Example()
{
    const auto text = tessara::ReadWholeFile(std::string(TESSARA_SOURCE_DIR_PATH) + "/examples/models/small-site.txt");
    return text.value_or("");
}

// The example states every kind of content; written and read back through the
// model file it is the scene it states.
TEST(ModelTextTest, TheExampleSceneSurvivesTheModelFile)
{
    CModelDataMng written;
    ModelViewState state;
    std::string error;
    ASSERT_TRUE(ModelText::Read(Example(), written, state, error)) << error;

    const std::filesystem::path dir = std::filesystem::path(tessara::TempFolder()) / "model-text-test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "site.tpf").string();
    ASSERT_EQ(ModelFile::Save(path, written, state, fileformat::kEverything), ModelFile::SaveResult::Ok);
    ModelFile::Loaded loaded;
    ASSERT_EQ(ModelFile::Read(path, loaded), ModelFile::LoadResult::Ok) << loaded.error;
    std::filesystem::remove_all(dir);
    const CModelDataMng& s = *loaded.scratch;

    ASSERT_EQ(s.GetGroupCount(), 2);
    const CPCloudMng& ground = *s.GetGroup(0);
    EXPECT_EQ(ground.m_name, "地盤");
    EXPECT_EQ(ground.m_nColor, 0xC08030u);
    EXPECT_EQ(ground.GetCloudPointSize(), 5);
    EXPECT_EQ(ground.GetVertexSize(), 5);
    ASSERT_EQ(ground.GetTriangleCount(), 4);
    EXPECT_EQ(ground.m_triangles[3][0], 3u);
    EXPECT_EQ(ground.m_triangles[3][1], 0u);
    float x = 0, y = 0, z = 0;
    COLORREF colour = 0;
    double intensity = 0;
    ASSERT_TRUE(ground.GetCloudPointVal(4, x, y, z, colour, intensity));
    EXPECT_EQ(colour, 0x0000FFu);
    EXPECT_EQ(intensity, 120.0);
    EXPECT_EQ(s.GetGroup(1)->m_name, "");
    EXPECT_EQ(s.GetGroup(1)->GetTriangleCount(), 0);

    EXPECT_EQ(s.m_cadName, "現況平面図");
    // The ground picture's placement.
    EXPECT_TRUE(loaded.state.hasTexturePlacement);
    EXPECT_EQ(loaded.state.texturePlacement, (std::array<double, 5>{0, 0, 10, 10, 0}));
    ASSERT_EQ(s.m_elmList.size(), 3u);
    EXPECT_EQ(s.m_elmList[1].m_nKind, 50);
    EXPECT_EQ(s.m_elmList[1].m_ptLists[0].size(), 3u);
    EXPECT_EQ(s.m_elmList[2].m_ptLists.size(), 2u);
    EXPECT_GE(s.FindCadLayer(1), 0);
    EXPECT_GE(s.FindCadLayer(50), 0);

    EXPECT_EQ(s.m_partPoint3D.GetCloudPointSize(), 1);
    EXPECT_EQ(s.m_partPoint2D.GetCloudPointSize(), 1);
    EXPECT_EQ(s.m_partVertex.GetVertexSize(), 3);
    EXPECT_EQ(s.m_partLine3D.size(), 1u);
    EXPECT_EQ(s.m_partLine2D.size(), 1u);

    EXPECT_EQ(s.m_structure[0].GetTriangleCount(), 4);                      // Build
    EXPECT_EQ(s.m_structure[11].GetTriangleCount(), 1);                     // Chimney
    EXPECT_EQ(s.m_structure[12].GetVertexSize(), 0);
}

// A model made without a word on the display leaves on what a surveyor works
// with; the text can state each switch, and the model file keeps them.
TEST(ModelTextTest, DisplaySwitchesDefaultToASurveyorsAndCanBeStated)
{
    struct Case {
        const char* text;
        std::array<std::int32_t, 11> switches;  // CAD, part, TIN edges, TIN points, paper, grid,
                                                // axis, picture, triad, compass, size labels
    } cases[] = {
        {"", {1, 1, 0, 0, 1, 1, 1, 4, 1, 1, 1}},
        {"display paper off\ndisplay tin-edges on\ndisplay picture slope\n", {1, 1, 1, 0, 0, 1, 1, 2, 1, 1, 1}},
        {"display cad off\ndisplay part off\ndisplay grid off\ndisplay axis off\ndisplay triad off\n"
         "display compass off\ndisplay size-labels off\ndisplay tin-points on\ndisplay picture none\n",
         {0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0}},
    };
    const std::filesystem::path dir = std::filesystem::path(tessara::TempFolder()) / "model-text-switches";
    std::filesystem::create_directories(dir);
    for (const Case& c : cases) {
        CModelDataMng store;
        ModelViewState state;
        std::string error;
        ASSERT_TRUE(ModelText::Read(c.text, store, state, error)) << error;
        EXPECT_EQ(state.displaySwitches, c.switches) << c.text;
        const std::string path = (dir / "switches.tpf").string();
        ASSERT_EQ(ModelFile::Save(path, store, state, fileformat::kEverything), ModelFile::SaveResult::Ok);
        ModelFile::Loaded loaded;
        ASSERT_EQ(ModelFile::Read(path, loaded), ModelFile::LoadResult::Ok) << loaded.error;
        EXPECT_EQ(loaded.state.displaySwitches, c.switches) << c.text;
    }
    std::filesystem::remove_all(dir);
}

struct BadText {
    const char* name;
    const char* text;
    const char* error;
};

class ModelTextErrorTest : public ::testing::TestWithParam<BadText> {};

TEST_P(ModelTextErrorTest, NamesTheLineAndWhatIsWrong)
{
    CModelDataMng store;
    ModelViewState state;
    std::string error;
    EXPECT_FALSE(ModelText::Read(GetParam().text, store, state, error));
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModelTextErrorTest,
    ::testing::Values(
        BadText{"point_before_group", "# none yet\np 1 2 3\n", "line 2: p before any group"},
        BadText{"triangle_past_the_vertices", "group a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nt 0 1 3\n",
                "line 5: index 3 is not one of the 3 vertices"},
        BadText{"negative_index", "group a\nv 0 0 0\nt -1 0 0\n", "line 3: index -1 is not one of the 1 vertices"},
        BadText{"comma_decimal", "group a\np 1,5 2 3\n", "line 2: not a number: 1,5"},
        BadText{"bad_colour", "group a colour red\n", "line 1: not a colour: red"},
        BadText{"unknown_statement", "grup a\n", "line 1: unknown statement: grup"},
        BadText{"unknown_display_switch", "display ruler on\n", "line 1: no display switch called ruler"},
        BadText{"display_switch_without_state", "display grid\n", "line 1: display grid wants on or off"},
        BadText{"unknown_picture", "display picture sepia\n", "line 1: no TIN picture called sepia"},
        BadText{"figure_point_outside", "fp 1 2\n", "line 1: fp outside a figure"},
        BadText{"second_list_of_a_plain_figure", "figure 50\nfp 1 2\nnext-list\n",
                "line 3: only a figure of kind 5 has a second point list"},
        BadText{"hidden_layer_without_figure", "layer-hidden 7\n", "layer-hidden 7: no figure of that kind"},
        BadText{"structure_slot_out_of_range", "structure 12\n", "line 1: structure needs a kind name or a slot 0..11"},
        BadText{"part_line_to_a_missing_vertex", "part-vertex 0 0 -\npart-line 0 1\n",
                "line 2: index 1 is not one of the 1 vertices"},
        BadText{"not_finite_figure", "figure 3\nfp inf 0\n", "line 2: not a number: inf"}),
    [](const ::testing::TestParamInfo<BadText>& info) { return info.param.name; });

}  // namespace

#include "CommandViewFixture.h"

#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/buffers/ViewPickState.h"
#include "viewer/render/ViewConstants.h"

namespace {

class TinEditCommandTest : public CommandViewTest {
protected:
    // A group whose TIN is the 2 x 2 square split along 0-2, and a centre vertex 4
    // that a fan of four triangles uses in a second group.
    void SetUp() override
    {
        CommandViewTest::SetUp();
        auto square = std::make_unique<CPCloudMng>();
        for (auto [x, y] : {std::pair{0.f, 0.f}, {2.f, 0.f}, {2.f, 2.f}, {0.f, 2.f}})
            square->AddVertex(x, y, 1.0f);
        square->m_triangles.emplace_back(0, 1, 2);
        square->m_triangles.emplace_back(2, 3, 0);
        View().ModelStore().AddGroup(std::move(square));
        auto fan = std::make_unique<CPCloudMng>();
        for (auto [x, y] : {std::pair{10.f, 0.f}, {12.f, 0.f}, {12.f, 2.f}, {10.f, 2.f}, {11.f, 1.f}})
            fan->AddVertex(x, y, 1.0f);
        for (std::uint32_t k = 0; k < 4; ++k)
            fan->m_triangles.emplace_back(k, (k + 1) % 4, 4);
        View().ModelStore().AddGroup(std::move(fan));
    }
    ViewPickState& Pick() { return *View().BuffersState().pick; }
    HoverPickCache::Edge Diagonal(std::int32_t triangle = 0)
    {
        HoverPickCache::Edge e;
        e.kind = 4;
        e.group = 0;
        e.triangle = triangle;
        e.side = 2;  // corner 2 to corner 0 of triangle (0, 1, 2)
        e.v1 = 0;
        e.v2 = 2;
        return e;
    }
};

} // namespace

TEST_F(TinEditCommandTest, TheHoveredEdgeIsSwappedOnceAndCanBeUndone)
{
    View().SetToolMode(toolmode::kTinEdgeSwap);
    Pick().hoveredEdges = {Diagonal()};
    EXPECT_EQ(View().ApplyTinEdit(5, 5), 1);
    const CPCloudMng& g = *View().ModelStore().GetGroup(0);
    ASSERT_EQ(g.m_triangles.size(), 2u);
    EXPECT_TRUE(g.m_triangles[0].HasCorner(1) && g.m_triangles[0].HasCorner(3));
    EXPECT_TRUE(Pick().hoveredEdges.empty());
    EXPECT_TRUE(View().CanUndo());
    EXPECT_EQ(View().BuffersState().book.Kind(DrawableKind::GroupTinFaces).releasePending, 1);
    // Nothing held any more: the next click edits nothing.
    EXPECT_EQ(View().ApplyTinEdit(5, 5), 0);
}

TEST_F(TinEditCommandTest, AHeldEdgeTheStoreNoLongerHasEditsNothing)
{
    View().SetToolMode(toolmode::kTinEdgeSwap);
    HoverPickCache::Edge moved = Diagonal(1);
    moved.side = 0;  // triangle 1's first edge joins other corners now
    for (HoverPickCache::Edge stale : {Diagonal(7), moved}) {
        Pick().hoveredEdges = {stale};
        EXPECT_EQ(View().ApplyTinEdit(5, 5), 0);
    }
    HoverPickCache::Edge otherGroup = Diagonal();
    otherGroup.group = 9;
    Pick().hoveredEdges = {otherGroup};
    EXPECT_EQ(View().ApplyTinEdit(5, 5), 0);
    EXPECT_EQ(View().ModelStore().GetGroup(0)->m_triangles[0][0], 0u);
    EXPECT_FALSE(View().CanUndo());
}

TEST_F(TinEditCommandTest, TheHoveredVertexIsRemovedAndItsHoleMeshed)
{
    View().SetToolMode(toolmode::kTinVertexEdit);
    HoverPickCache::Vertex centre;
    centre.kind = 4;
    centre.group = 1;
    centre.index = 4;
    Pick().hoveredVertex = centre;
    EXPECT_EQ(View().ApplyTinEdit(5, 5), 1);
    const CPCloudMng& fan = *View().ModelStore().GetGroup(1);
    EXPECT_EQ(fan.m_triangles.size(), 2u);
    for (const auto& t : fan.m_triangles)
        for (int k = 0; k < 3; ++k)
            EXPECT_FALSE(fan.m_vertices[t[k]].x == 11.0f && fan.m_vertices[t[k]].y == 1.0f);
    EXPECT_TRUE(View().CanUndo());
    EXPECT_FALSE(Pick().hoveredVertex);
}

TEST_F(TinEditCommandTest, AClickErasesTheFaceShownInFrontAndOnlyThat)
{
    View().Settings().tinPictureMode = 1;
    View().OnShowUp();  // both squares fill the window from above
    View().ModelStore().GetGroup(1)->m_nShowTin = 0;
    View().SetToolMode(toolmode::kTinFaceDelete);
    // The window's centre lies over the gap between the squares: nothing there.
    EXPECT_EQ(View().ApplyTinEdit(100, 75), 0);
    // Inside the square's lower right triangle.
    PT user(1.5, 0.5, 1.0);
    View().ModelStore().UserToModel(user);
    QVector3D window;
    ASSERT_TRUE(View().ProjectToWindow(QVector3D(float(user.x()), float(user.y()), float(user.z())), window));
    const int x = static_cast<int>(window.x());
    const int y = 150 - static_cast<int>(window.y());
    EXPECT_EQ(View().ApplyTinEdit(x, y), 1);
    const CPCloudMng& square = *View().ModelStore().GetGroup(0);
    ASSERT_EQ(square.m_triangles.size(), 1u);
    EXPECT_EQ(square.m_triangles[0][0], 2u) << "the other triangle stays";
    EXPECT_EQ(View().ModelStore().GetGroup(1)->m_triangles.size(), 4u) << "a hidden TIN is never erased";
    EXPECT_TRUE(View().CanUndo());
}

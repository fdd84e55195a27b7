#include "viewer/commands/FacePick.h"

#include "outside/CModelDataMng.h"

#include <gtest/gtest.h>

namespace {

// A window of 10 x 10 pixels showing user x, y 0..10 from above; higher z is nearer.
ScreenProjector TopView()
{
    QMatrix4x4 projection;
    projection.ortho(0.0f, 10.0f, 0.0f, 10.0f, -10.0f, 10.0f);
    return ScreenProjector(QMatrix4x4(), projection, {0, 0, 10, 10});
}

// Two triangles over the square x0..x0+4, y 0..4 at height z.
void AddSquare(CVertexMng& tin, float x0, float z)
{
    const auto base = static_cast<std::uint32_t>(tin.GetVertexSize());
    for (auto [x, y] : {std::pair{0.f, 0.f}, {4.f, 0.f}, {4.f, 4.f}, {0.f, 4.f}})
        tin.AddVertex(x0 + x, y, z);
    tin.m_triangles.emplace_back(base, base + 1, base + 2);
    tin.m_triangles.emplace_back(base + 2, base + 3, base);
}

} // namespace

TEST(FacePick, TheNearestShownFaceUnderThePointWins)
{
    CModelDataMng store;
    auto low = std::make_unique<CPCloudMng>();
    AddSquare(*low, 0.0f, 1.0f);
    auto high = std::make_unique<CPCloudMng>();
    AddSquare(*high, 0.0f, 5.0f);
    store.AddGroup(std::move(low));
    store.AddGroup(std::move(high));
    AddSquare(store.m_cadTin, 6.0f, 0.0f);

    auto hit = FrontFaceAt(store, TopView(), 3.0, 1.0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, 4);
    EXPECT_EQ(hit->group, 1);
    EXPECT_EQ(hit->triangle, 0);
    hit = FrontFaceAt(store, TopView(), 1.0, 3.0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->triangle, 1);

    // A hidden TIN in front is no candidate: the one behind it is.
    store.GetGroup(1)->m_nShowTin = 0;
    hit = FrontFaceAt(store, TopView(), 3.0, 1.0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->group, 0);

    hit = FrontFaceAt(store, TopView(), 8.0, 2.0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, 7);
    store.m_nShowCADTin = 0;
    EXPECT_FALSE(FrontFaceAt(store, TopView(), 8.0, 2.0));
    EXPECT_FALSE(FrontFaceAt(store, TopView(), 5.0, 9.0)) << "nothing under the point";
}

TEST(FacePick, BrokenTrianglesAreSkipped)
{
    CModelDataMng store;
    auto g = std::make_unique<CPCloudMng>();
    AddSquare(*g, 0.0f, 1.0f);
    g->m_triangles[0][2] = 99;              // a corner out of range
    g->m_triangles.emplace_back(0, 0, 1);   // flat in the window
    store.AddGroup(std::move(g));
    EXPECT_FALSE(FrontFaceAt(store, TopView(), 3.0, 1.0));
    EXPECT_TRUE(FrontFaceAt(store, TopView(), 1.0, 3.0));
}

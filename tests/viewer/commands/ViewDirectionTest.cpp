#include "CommandViewFixture.h"

#include <atomic>
#include <cmath>
#include <thread>

namespace {

constexpr unsigned kShowUp = 32776;
constexpr unsigned kShowLow = 32777;
constexpr unsigned kShowBack = 32781;

using ViewDirectionTest = CommandViewTest;

} // namespace


TEST_F(ViewDirectionTest, EveryDirectionFitsTheBoxFromAboveThenTurns)
{
    AddBox(0.0f, 0.0f, 30.0f, 20.0f);
    for (unsigned id = kShowUp; id <= kShowBack; ++id) {
        View().Zoom() = 3.0f;
        Run(id);
        // 0.9 x half the width over half the box width: 0.9 x 100 / 15.
        EXPECT_NEAR(View().Zoom(), 6.0f, 1e-3f) << id;
        PT centre(15.0, 10.0, 0.0);
        View().ModelStore().UserToModel(centre);
        EXPECT_NEAR(View().LookAt().x(), centre.x(), 1e-4) << id;
        EXPECT_NEAR(View().LookAt().y(), centre.y(), 1e-4) << id;
        EXPECT_EQ(View().ModelMatrix().isIdentity(), id == kShowUp) << id;
        EXPECT_GT(View().resetDragStates, 0);
    }
}

TEST_F(ViewDirectionTest, EmptySceneAndPointLikeScenes)
{
    Run(kShowLow);
    EXPECT_FLOAT_EQ(View().Zoom(), 10.0f);
    EXPECT_FLOAT_EQ(View().LookAt().x(), 0.0f);
    EXPECT_FLOAT_EQ(View().LookAt().y(), 0.0f);

    AddBox(5.0f, 5.0f, 5.0f, 5.0f);
    Run(kShowUp);
    EXPECT_FLOAT_EQ(View().Zoom(), 0.1f);
}

TEST_F(ViewDirectionTest, AZeroSizeWindowKeepsAFiniteZoom)
{
    AddBox(0.0f, 0.0f, 30.0f, 20.0f);
    View().SetClientSize(0, 0);
    Run(kShowUp);
    EXPECT_TRUE(std::isfinite(View().Zoom()));
    EXPECT_GE(View().Zoom(), 0.1f);
}

TEST_F(ViewDirectionTest, AStoreHeldByALoadLeavesTheCamera)
{
    AddBox(0.0f, 0.0f, 30.0f, 20.0f);
    View().Zoom() = 3.0f;
    std::atomic<bool> held{false}, release{false};
    std::thread loader([&] {
        std::lock_guard lock(View().ViewMutex());
        held = true;
        while (!release) std::this_thread::yield();
    });
    while (!held) std::this_thread::yield();
    Run(kShowUp);
    release = true;
    loader.join();
    EXPECT_FLOAT_EQ(View().Zoom(), 3.0f);
}

#include <gtest/gtest.h>

#include "viewer/render/CommandMap.h"

namespace {

TEST(CommandMapTest, FirstBindingOfAnIdWins)
{
    CommandMap map;
    int which = 0;
    EXPECT_TRUE(map.On(32796, [&] { which = 1; }));
    EXPECT_FALSE(map.On(32796, [&] { which = 2; }));
    (*map.FindCommand(32796))();
    EXPECT_EQ(which, 1);
}

TEST(CommandMapTest, MessageWithoutHandlerAnswersZero)
{
    CommandMap map;
    map.OnMessage(0x0400 + 104, [](std::uintptr_t w, std::intptr_t l) { return static_cast<std::intptr_t>(w) + l; });
    EXPECT_EQ(map.Dispatch(0x0400 + 104, 2, 3), 5);
    EXPECT_EQ(map.Dispatch(0x0400 + 107, 2, 3), 0);
}

TEST(CommandMapTest, RangeHandlersReceiveTheirId)
{
    CommandMap map;
    unsigned got = 0;
    map.OnRange(205, 219, [&](unsigned id) { got = id; });
    (*map.FindCommand(212))();
    EXPECT_EQ(got, 212u);
    EXPECT_EQ(map.FindCommand(220), nullptr);
}

}  // namespace
